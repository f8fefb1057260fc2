#include "gui/message_box.h"

#include <QCoreApplication>
#include <QMessageBox>

#include "qt/qt_text.h"

CUiServices::Answer ShowMessageBox(
    QWidget* parent, std::string_view text, CUiServices::Buttons buttons, CUiServices::Icon icon)
{
    using Buttons = CUiServices::Buttons;
    using Icon = CUiServices::Icon;
    using Answer = CUiServices::Answer;
    QMessageBox::StandardButtons shown = QMessageBox::Ok;
    switch (buttons) {
    case Buttons::Ok:
        shown = QMessageBox::Ok;
        break;
    case Buttons::OkCancel:
        shown = QMessageBox::Ok | QMessageBox::Cancel;
        break;
    case Buttons::YesNo:
        shown = QMessageBox::Yes | QMessageBox::No;
        break;
    case Buttons::YesNoCancel:
        shown = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        break;
    }
    QMessageBox::Icon kind = QMessageBox::NoIcon;
    switch (icon) {
    case Icon::None:
        kind = QMessageBox::NoIcon;
        break;
    case Icon::Information:
        kind = QMessageBox::Information;
        break;
    case Icon::Warning:
        kind = QMessageBox::Warning;
        break;
    case Icon::Error:
        kind = QMessageBox::Critical;
        break;
    case Icon::Question:
        kind = QMessageBox::Question;
        break;
    }
    const QString caption = QCoreApplication::applicationName();
    QMessageBox box(kind, caption, FromCp1252(text), shown, parent);
    switch (box.exec()) {
    case QMessageBox::Cancel:
        return Answer::Cancel;
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Ok;
    }
}
