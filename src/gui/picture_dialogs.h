#pragma once

#include <QDialog>
#include <QImage>
#include <QString>
#include <QStringList>
#include <QWidget>

class CAddPictures;
class CPictureEdit;
class QCheckBox;
class QLineEdit;
class QListWidget;

// The preview of "Afbeelding toevoegen": white, with the image as large as
// fits, aspect kept, from the top-left corner. It paints the image it was
// given; decoding is the dialog's, once per selection.
class CPicturePreview : public QWidget {
    Q_OBJECT
public:
    explicit CPicturePreview(QWidget* parent = nullptr);
    void SetImage(QImage image);
    const QImage& Image() const { return image; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage image;
};

// "Afbeelding toevoegen": the files of the project's picture folder ("Map
// Afbeeldingen") with a preview of the selected one; "Afbeeldingen
// toevoegen" copies files into the folder, "Plaatsen" places the selected
// file and closes (an unusable file is said so and the dialog stays open).
class CAddPictureDlg : public QDialog {
    Q_OBJECT
public:
    // The file filter of "Afbeeldingen toevoegen"; Linux file names keep
    // their case, so the upper-case forms are listed too.
    static const QString kFilter;

    CAddPictureDlg(CAddPictures& add, QString pickFolder, QWidget* parent = nullptr);

    // The picture placed, -1 before "Plaatsen" succeeded.
    int Placed() const { return placed; }
    QListWidget* List() const { return list; }
    CPicturePreview* Preview() const { return preview; }
    // How often a preview was decoded: once per selection.
    int PreviewDecodes() const { return decodes; }
    // What "Afbeeldingen toevoegen" does with the files chosen.
    void AddFiles(const QStringList& files);

    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void ChooseFiles();
    void FillList();
    void ShowPreview();

    CAddPictures& add;
    QString pickFolder;
    QListWidget* list = nullptr;
    CPicturePreview* preview = nullptr;
    int placed = -1;
    int decodes = 0;
    bool previewShown = false;
};

// "Afbeelding aanpassen": position and size of a placed picture in
// millimetres. A field applies when it is left and at OK; every accepted
// change shows on the sheet at once (the edit's listener), and the fields
// show what was accepted.
class CEditPictDlg : public QDialog {
    Q_OBJECT
public:
    CEditPictDlg(CPictureEdit& edit, QWidget* parent = nullptr);

    QLineEdit* XField() const { return x; }
    QLineEdit* YField() const { return y; }
    QLineEdit* WidthField() const { return width; }
    QLineEdit* HeightField() const { return height; }
    QCheckBox* KeepRatioBox() const { return keepRatio; }

    void accept() override;

private:
    void ApplyFields();
    void ShowValues();

    CPictureEdit& edit;
    QLineEdit* x = nullptr;
    QLineEdit* y = nullptr;
    QLineEdit* width = nullptr;
    QLineEdit* height = nullptr;
    QCheckBox* keepRatio = nullptr;
};
