#include "gui/picture_dialogs.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <filesystem>
#include <vector>

#include "app/picture_values.h"
#include "document/picture_folder.h"
#include "gui/dialog_buttons.h"
#include "gui/message_box.h"
#include "qt/file_args.h"

namespace {

constexpr int kListWidth = 200;
constexpr int kPreviewMinimum = 240;

// The size of `image` that fits inside `area`, aspect kept.
QSize Fitted(QSize image, QSize area)
{
    if (image.isEmpty() || area.isEmpty())
        return {};
    return image.scaled(area, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
}

QString FromPath(const std::filesystem::path& path)
{
    return QString::fromStdString(path.string());
}

} // namespace

// --- preview -----------------------------------------------------------------

CPicturePreview::CPicturePreview(QWidget* parent)
    : QWidget(parent)
{
    setMinimumSize(kPreviewMinimum, kPreviewMinimum);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void CPicturePreview::SetImage(QImage picture)
{
    image = std::move(picture);
    update();
}

void CPicturePreview::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (image.isNull())
        return;
    // Decoded to fit when selected; a larger or smaller window only scales
    // what is there.
    const QSize size = Fitted(image.size(), this->size());
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRect(QPoint(0, 0), size), image);
}

// --- Afbeelding toevoegen ------------------------------------------------------

const QString CAddPictureDlg::kFilter = QStringLiteral(
    "Afbeeldingen (*.bmp *.gif *.jpg *.jpeg *.png *.BMP *.GIF *.JPG *.JPEG *.PNG)");

CAddPictureDlg::CAddPictureDlg(CAddPictures& add, QString pickFolder, QWidget* parent)
    : QDialog(parent)
    , add(add)
    , pickFolder(std::move(pickFolder))
{
    setWindowTitle(QStringLiteral("Afbeelding toevoegen"));
    list = new QListWidget;
    list->setFixedWidth(kListWidth);
    preview = new CPicturePreview;

    auto* addFiles = new QPushButton(QStringLiteral("Afbeeldingen toevoegen"));
    addFiles->setAutoDefault(false);
    connect(addFiles, &QPushButton::clicked, this, [this] { ChooseFiles(); });
    auto* buttons = new QDialogButtonBox;
    QPushButton* place
        = buttons->addButton(QStringLiteral("Plaatsen"), QDialogButtonBox::AcceptRole);
    place->setDefault(true);
    buttons->addButton(QStringLiteral("Annuleren"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel(QStringLiteral("Map Afbeeldingen")));
    left->addWidget(list, 1);
    auto* right = new QVBoxLayout;
    right->addWidget(new QLabel(QStringLiteral("Voorbeeld:")));
    right->addWidget(preview, 1);
    auto* columns = new QHBoxLayout;
    columns->addLayout(left);
    columns->addLayout(right, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(addFiles);
    bottom->addStretch(1);
    bottom->addWidget(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns, 1);
    layout->addLayout(bottom);
    resize(640, 420);

    FillList();
    connect(list, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0 && row != this->add.Selected()) {
            this->add.Select(row);
            ShowPreview();
        }
    });
}

void CAddPictureDlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // The first preview waits for the layout, to be decoded at its size.
    if (!previewShown) {
        previewShown = true;
        ShowPreview();
    }
}

void CAddPictureDlg::FillList()
{
    const QSignalBlocker quiet(list);
    list->clear();
    for (const std::string& name : add.Names())
        list->addItem(QString::fromStdString(name));
    list->setCurrentRow(add.Selected());
}

void CAddPictureDlg::ShowPreview()
{
    const std::filesystem::path path = add.SelectedPath();
    if (path.empty()) {
        preview->SetImage({});
        return;
    }
    // Only as many pixels as the preview shows are decoded: a photo of many
    // megapixels takes no more memory or time than that.
    QImageReader reader(FromPath(path));
    reader.setAutoTransform(false);
    const QSize area = preview->size().expandedTo(QSize(kPreviewMinimum, kPreviewMinimum));
    const QSize fitted = Fitted(reader.size(), area);
    if (fitted.isValid() && fitted.width() < reader.size().width())
        reader.setScaledSize(fitted);
    ++decodes;
    preview->SetImage(reader.read());
}

void CAddPictureDlg::ChooseFiles()
{
    const QStringList files = QFileDialog::getOpenFileNames(
        this, QStringLiteral("Afbeeldingen toevoegen"), pickFolder, kFilter);
    if (!files.isEmpty())
        AddFiles(files);
}

void CAddPictureDlg::AddFiles(const QStringList& files)
{
    std::vector<std::filesystem::path> chosen;
    for (const QString& file : files)
        chosen.emplace_back(FileNameBytes(file));
    const int before = add.Selected();
    const std::filesystem::path shown = add.SelectedPath();
    for (const std::string& message : add.AddFiles(std::move(chosen)))
        ShowMessageBox(this, message);
    FillList();
    if (add.Selected() != before || add.SelectedPath() != shown)
        ShowPreview();
}

void CAddPictureDlg::accept()
{
    if (add.Selected() < 0) {
        QDialog::reject();
        return;
    }
    placed = add.Place();
    if (placed < 0) {
        ShowMessageBox(this, kMsgPictureUnusable);
        return;
    }
    QDialog::accept();
}

// --- Afbeelding aanpassen ------------------------------------------------------

CEditPictDlg::CEditPictDlg(CPictureEdit& edit, QWidget* parent)
    : QDialog(parent)
    , edit(edit)
{
    setWindowTitle(QStringLiteral("Afbeelding aanpassen"));
    x = new QLineEdit;
    y = new QLineEdit;
    width = new QLineEdit;
    height = new QLineEdit;
    keepRatio = new QCheckBox(QStringLiteral("Verhouding breedte en hoogte aanhouden"));
    auto* original
        = new QPushButton(QStringLiteral("Zet de afmetingen op de oorspronkelijke maten"));
    original->setAutoDefault(false);

    const auto onLeave = [this](QLineEdit* field, bool (CPictureEdit::*set)(std::string_view)) {
        connect(field, &QLineEdit::editingFinished, this, [this, field, set] {
            (this->edit.*set)(field->text().toStdString());
            ShowValues();
        });
    };
    onLeave(x, &CPictureEdit::SetX);
    onLeave(y, &CPictureEdit::SetY);
    onLeave(width, &CPictureEdit::SetWidth);
    onLeave(height, &CPictureEdit::SetHeight);
    connect(keepRatio, &QCheckBox::clicked, this, [this](bool on) {
        ApplyFields();
        this->edit.SetKeepRatio(on);
        ShowValues();
    });
    connect(original, &QPushButton::clicked, this, [this] {
        ApplyFields();
        this->edit.SetOriginalSize();
        ShowValues();
    });

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Positie X:"), x);
    form->addRow(QStringLiteral("Positie Y:"), y);
    form->addRow(QStringLiteral("Breedte:"), width);
    form->addRow(QStringLiteral("Hoogte:"), height);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(keepRatio);
    layout->addWidget(original);
    layout->addWidget(OkCancelButtons(this));
    ShowValues();
}

void CEditPictDlg::ApplyFields()
{
    // Only what was typed since the fields were last written: a size field
    // that still shows the old value would undo the ratio just kept.
    const auto apply = [this](QLineEdit* field, bool (CPictureEdit::*set)(std::string_view)) {
        if (field->isModified())
            (edit.*set)(field->text().toStdString());
    };
    apply(x, &CPictureEdit::SetX);
    apply(y, &CPictureEdit::SetY);
    apply(width, &CPictureEdit::SetWidth);
    apply(height, &CPictureEdit::SetHeight);
}

void CEditPictDlg::ShowValues()
{
    x->setText(QString::fromStdString(edit.XText()));
    y->setText(QString::fromStdString(edit.YText()));
    width->setText(QString::fromStdString(edit.WidthText()));
    height->setText(QString::fromStdString(edit.HeightText()));
    keepRatio->setChecked(edit.KeepRatio());
}

void CEditPictDlg::accept()
{
    ApplyFields();
    QDialog::accept();
}
