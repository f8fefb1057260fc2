#include "gui/startup_windows.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QTimer>
#include <QVBoxLayout>

#include "app/program_folder.h"
#include "app/startup.h"

void LoadRecentFiles(CRecentFileList& list)
{
    QSettings store;
    std::vector<std::string> paths;
    for (int i = 1; i <= CRecentFileList::kSize; ++i)
        paths.push_back(
            store.value(QStringLiteral("Recent File List/File%1").arg(i)).toString().toStdString());
    list.SetEntries(std::move(paths));
}

void SaveRecentFiles(const CRecentFileList& list)
{
    QSettings store;
    store.remove(QStringLiteral("Recent File List"));
    const auto& entries = list.Entries();
    for (size_t i = 0; i < entries.size(); ++i)
        store.setValue(QStringLiteral("Recent File List/File%1").arg(i + 1),
            QString::fromStdString(entries[i]));
}

CSplashWnd::CSplashWnd(QWidget* owner)
    : QWidget(owner, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setFixedSize(480, 280);
    if (QScreen* screen = (owner ? owner->screen() : nullptr))
        move(screen->geometry().center() - rect().center());
    // Not closed by keys or clicks: only the timer ends it.
    QTimer::singleShot(kShowMilliseconds, this, [this] {
        hide();
        if (parentWidget())
            parentWidget()->update();
        deleteLater();
    });
}

void CSplashWnd::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), QColor(250, 250, 200));
    p.setPen(QPen(Qt::black, 3));
    p.drawRect(rect().adjusted(1, 1, -2, -2));
    // A small schematic: a switch between two junction dots.
    p.setPen(QPen(QColor(0, 0, 160), 4));
    p.drawLine(60, 200, 180, 200);
    p.drawLine(180, 200, 260, 160);
    p.drawLine(280, 200, 420, 200);
    p.setBrush(QColor(0, 0, 160));
    p.drawEllipse(QPoint(180, 200), 7, 7);
    p.drawEllipse(QPoint(280, 200), 7, 7);
    QFont title = font();
    title.setPixelSize(44);
    title.setBold(true);
    p.setFont(title);
    p.setPen(Qt::black);
    p.drawText(QRect(0, 40, width(), 60), Qt::AlignCenter, QCoreApplication::applicationName());
    QFont sub = font();
    sub.setPixelSize(16);
    p.setFont(sub);
    p.drawText(QRect(0, 100, width(), 30), Qt::AlignCenter,
        QStringLiteral("Elektrotechnische schema's en installatietekeningen"));
}

CTipDlg::CTipDlg(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Tip van de dag"));
    QFile file(QString::fromStdString((ProgramFolder() / "tips.txt").string()));
    if (file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        for (const QString& line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
            if (!line.trimmed().isEmpty())
                tips << line.trimmed();
        }
    }
    QSettings store;
    current = store.value(QStringLiteral("Tips/Next"), 0).toInt();

    tipText = new QLabel;
    tipText->setWordWrap(true);
    tipText->setMinimumSize(360, 80);
    showAtStartup = new QCheckBox(QStringLiteral("Toon tips bij opstarten"));
    showAtStartup->setChecked(ShowAtStartup());
    auto* next = new QPushButton(QStringLiteral("Volgende tip"));
    auto* close = new QPushButton(QStringLiteral("Sluiten"));
    close->setDefault(true);
    connect(next, &QPushButton::clicked, this, [this] {
        ++current;
        ShowTip();
    });
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(this, &QDialog::finished, this, [this] {
        QSettings s;
        s.setValue(QStringLiteral("Tips/ShowAtStartup"), showAtStartup->isChecked());
        s.setValue(QStringLiteral("Tips/Next"), current + 1);
    });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(showAtStartup);
    buttons->addStretch();
    buttons->addWidget(next);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tipText);
    layout->addLayout(buttons);
    ShowTip();
}

bool CTipDlg::ShowAtStartup()
{
    QSettings store;
    return store.value(QStringLiteral("Tips/ShowAtStartup"), true).toBool();
}

void CTipDlg::ShowTip()
{
    if (tips.isEmpty()) {
        tipText->setText(QStringLiteral("Er zijn geen tips gevonden."));
        return;
    }
    current = ((current % tips.size()) + tips.size()) % tips.size();
    tipText->setText(tips[current]);
}

void ShowAboutBox(QWidget* parent)
{
    QMessageBox::about(parent, QStringLiteral("Info"),
        QStringLiteral("%1 %2\n\nTekenprogramma voor elektrotechnische schema's "
                       "en installatietekeningen.")
            .arg(QCoreApplication::applicationName(), QCoreApplication::applicationVersion()));
}
