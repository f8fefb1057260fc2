// Texts typed in the window: the typed line and its caret on the screen
// image, the text tool bar and the "Bewerk tekst" dialog.
#include <cstdlib>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QMouseEvent>

#include "app/command_table.h"
#include "document/document.h"
#include "gui/drawing_view.h"
#include "gui/edit_text_dlg.h"
#include "gui/main_frame.h"
#include "gui/project_windows.h"
#include "gui/sheet_commands.h"
#include "gui/tool_bar_lists.h"
#include "gui_test_main.h"
#include "model/platform_services.h"
#include "model/sheet.h"
#include "qt/qt_text_metrics.h"
#include "view/view_controller.h"

namespace {

void Type(QWidget& view, Qt::Key key, Qt::KeyboardModifiers modifiers, const QString& text)
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(&view, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(&view, &release);
}

void TypeText(QWidget& view, const QString& text)
{
    for (const QChar c : text)
        Type(view, Qt::Key_unknown, Qt::NoModifier, QString(c));
}

void Click(CDovereduView& view, QPoint p)
{
    const QPointF at(p);
    const QPointF global = view.viewport()->mapToGlobal(at);
    QMouseEvent move(QEvent::MouseMove, at, global, Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(view.viewport(), &move);
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, at, global, Qt::LeftButton,
            type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(view.viewport(), &event);
    }
}

QRgb Screen(COLORREF c)
{
    return qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

int IndexOf(QComboBox* list, const QString& text)
{
    return list->findText(text);
}

// A main window with a new project, text measured as on the screen.
class TypingWindow : public ::testing::Test {
protected:
    TypingWindow()
    {
        PlatformServices().textMetrics = &metrics;
        frame.resize(1000, 760);
        projects.NewProject();
        frame.show();
    }
    ~TypingWindow() override
    {
        // The windows close before the main window goes, as they do when
        // the program ends.
        for (CChildFrame* w : projects.Windows()) {
            w->canClose = nullptr;
            if (auto* sub = qobject_cast<QMdiSubWindow*>(w->parentWidget()))
                sub->close();
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        frame.canClose = nullptr;
        PlatformServices() = saved;
    }

    CDovereduView& View() { return projects.Windows().front()->View(); }
    CDovereduDoc& Doc() { return View().Document(); }
    CSheet& Sheet() { return Doc().GetActiveSheet(); }

    CPlatformServices saved = PlatformServices();
    CQtTextMetrics metrics;
    CMainFrame frame;
    CProjectWindows projects {frame};
};

} // namespace

TEST_F(TypingWindow, TheTypedLineAndItsCaretAreOnTheScreenImageOnly)
{
    CDovereduView& view = View();
    int draws = 0;
    projects.drawn = [&] { ++draws; };
    ASSERT_TRUE(frame.Router().Execute(Cmd::ToolWindowsText));
    Sheet().textDefaults.height = 40;
    Click(view, {200, 200});
    ASSERT_EQ(Sheet().toolStep, Step::Typing);
    view.grab();
    const QImage sheet = view.OffscreenImage().copy();
    const int before = draws;

    TypeText(view, QStringLiteral("Kabel "));
    TypeText(view, QString::fromUtf8("\u00e9\u20ac\u4e2d")); // the last one has no byte
    view.grab();
    EXPECT_EQ(Sheet().editText->text, "Kabel \xE9\x80");
    EXPECT_EQ(draws, before); // no complete draw for a keystroke
    EXPECT_EQ(view.OffscreenImage(), sheet);

    // The caret: the layer's colour right of the text, over its height.
    const std::optional<CRect> caret = view.Controller().CaretRect();
    ASSERT_TRUE(caret);
    const QRgb colour = Screen(Sheet().layerColours[Sheet().editText->Layer()]);
    const QPoint middle(caret->left + 1, (caret->top + caret->bottom) / 2);
    EXPECT_EQ(view.ScreenImage().pixel(middle), colour);
    // The text between its start and the caret.
    int inked = 0;
    for (int x = 200; x < caret->left; ++x) {
        for (int y = caret->top; y < caret->bottom; ++y)
            inked += view.ScreenImage().pixel(x, y) != sheet.pixel(x, y) ? 1 : 0;
    }
    EXPECT_GT(inked, 20);

    // A blink takes the caret away and leaves the text.
    view.Controller().Timer(CViewController::kWorkTimer);
    view.grab();
    EXPECT_EQ(view.ScreenImage().pixel(middle), sheet.pixel(middle));
    EXPECT_EQ(draws, before);

    // The input method is on while a line is typed: what it composes (a
    // dead key and a letter) is typed.
    EXPECT_TRUE(view.testAttribute(Qt::WA_InputMethodEnabled));
    QInputMethodQueryEvent query(Qt::ImCursorRectangle);
    QApplication::sendEvent(&view, &query);
    EXPECT_EQ(query.value(Qt::ImCursorRectangle).toRect().left(),
        view.viewport()->mapTo(&view, QPoint(caret->left, 0)).x());
    QInputMethodEvent composed;
    composed.setCommitString(QString::fromUtf8("ë"));
    QApplication::sendEvent(&view, &composed);
    EXPECT_EQ(Sheet().editText->text, "Kabel \xE9\x80\xEB");

    // Enter: the line goes into the sheet image.
    Type(view, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    view.grab();
    EXPECT_NE(view.OffscreenImage(), sheet);
    EXPECT_EQ(Sheet().texts.GetCount(), 1);
    Type(view, Qt::Key_Escape, Qt::NoModifier, QStringLiteral("\x1b"));
    EXPECT_FALSE(view.testAttribute(Qt::WA_InputMethodEnabled));
}

// Two lines, the second bold and picked at size 40 from the bar, with the
// caret after it. With RIDIZAV_SCREENSHOTS set, the window is saved there as
// typing.png.
TEST_F(TypingWindow, TwoLinesTypedTheSecondBold)
{
    CDovereduView& view = View();
    for (int i = 0; i < 4; ++i)
        ASSERT_TRUE(frame.Router().Execute(Cmd::ZoomIn));
    ASSERT_TRUE(frame.Router().Execute(Cmd::ToolWindowsText));
    Sheet().grids.grids[CGridArr::kText].snapY = 6000;
    Click(view, {150, 150});
    TypeText(view, QString::fromUtf8("Kabel 3×2,5 mm² €"));
    Type(view, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    Type(view, Qt::Key_B, Qt::ControlModifier, QStringLiteral("\x02"));
    emit frame.SizeCombo()->activated(IndexOf(frame.SizeCombo(), "40"));
    EXPECT_EQ(frame.SizeCombo()->currentText(), "40");
    TypeText(view, QStringLiteral("Vet"));
    EXPECT_TRUE(frame.Router().Update(Cmd::Bold).checked);
    QCoreApplication::processEvents();
    frame.grab();
    ASSERT_EQ(Sheet().texts.GetCount(), 1);
    EXPECT_EQ(Sheet().texts.At(0)->text,
        "Kabel 3\xD7"
        "2,5 mm\xB2 \x80");
    EXPECT_TRUE(Sheet().editText->IsBold());
    EXPECT_EQ(Sheet().editText->Height(), 40);
    if (const char* shots = std::getenv("RIDIZAV_SCREENSHOTS"))
        frame.grab().save(QString::fromLocal8Bit(shots) + QStringLiteral("/typing.png"));
}

TEST_F(TypingWindow, TheTextBarFollowsTheToolAndTheSheets)
{
    CDovereduView& view = View();
    Doc().AddDefaultSheet();
    Doc().SetActiveSheet(0);
    frame.ShowDocumentLists(Doc());
    EXPECT_FALSE(frame.TextToolBarShown());

    ASSERT_TRUE(frame.Router().Execute(Cmd::ToolWindowsText));
    ASSERT_TRUE(frame.TextToolBarShown());
    EXPECT_EQ(frame.SizeCombo()->currentText(), "50");
    EXPECT_EQ(frame.FontCombo()->currentIndex(), 0);

    // A pick while typing: the line and the next ones take it.
    Click(view, {200, 200});
    TypeText(view, QStringLiteral("ab"));
    emit frame.SizeCombo()->activated(IndexOf(frame.SizeCombo(), "20"));
    EXPECT_EQ(Sheet().editText->Height(), 20);
    EXPECT_EQ(Sheet().textDefaults.height, 20);
    emit frame.FontCombo()->activated(2);
    EXPECT_EQ(Sheet().editText->FontNumber(), 2);

    // Another sheet brings its own tool: the line is committed first. (Page
    // Down is a key of the line while it is typed.)
    CSheet& first = Sheet();
    Type(view, Qt::Key_PageDown, Qt::NoModifier, QString());
    EXPECT_EQ(Doc().activeSheet, 0);
    emit frame.SheetCombo()->Picked(1);
    EXPECT_EQ(Doc().activeSheet, 1);
    EXPECT_FALSE(frame.TextToolBarShown());
    EXPECT_EQ(first.texts.GetCount(), 1);
    EXPECT_EQ(first.editText, nullptr);
    Type(view, Qt::Key_PageUp, Qt::NoModifier, QString());
    EXPECT_EQ(Doc().activeSheet, 0);
    ASSERT_TRUE(frame.TextToolBarShown());
    EXPECT_EQ(frame.SizeCombo()->currentText(), "20");
    EXPECT_EQ(frame.FontCombo()->currentIndex(), 2);

    // "Kies lettertype" moves the font list.
    RunWhenModal<QDialog>([](QDialog* d) {
        if (auto* list = d->findChild<QListWidget*>())
            list->setCurrentRow(5);
        d->accept();
    });
    ASSERT_TRUE(frame.Router().Execute(Cmd::ChooseFont));
    EXPECT_EQ(frame.FontCombo()->currentIndex(), 5);

    ASSERT_TRUE(frame.Router().Execute(Cmd::SelectTool));
    EXPECT_FALSE(frame.TextToolBarShown());
}

// The bar keeps no sheet: deleting the sheet or closing the project under it
// leaves nothing behind that a pick could reach.
TEST_F(TypingWindow, DeletingTheSheetOrClosingTheProjectUnderTheBar)
{
    CSheetCommands sheets(frame, projects);
    CDovereduView& view = View();
    Doc().AddDefaultSheet();
    ASSERT_TRUE(frame.Router().Execute(Cmd::ToolWindowsText));
    Click(view, {200, 200});
    TypeText(view, QStringLiteral("weg"));
    ASSERT_TRUE(frame.TextToolBarShown());

    RunWhenModal<QMessageBox>([](QMessageBox* box) { box->button(QMessageBox::Yes)->click(); });
    ASSERT_TRUE(frame.Router().Execute(Cmd::DeleteSheet));
    ASSERT_EQ(Doc().sheets.size(), 1u);
    EXPECT_FALSE(frame.TextToolBarShown());
    emit frame.FontPicked(3);
    emit frame.SizePicked(30);
    EXPECT_EQ(Sheet().textDefaults.height, 30);

    ASSERT_TRUE(frame.Router().Execute(Cmd::ToolWindowsText));
    ASSERT_TRUE(frame.TextToolBarShown());
    Doc().modified = false;
    ASSERT_TRUE(projects.CloseAll());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(projects.Windows().empty());
    EXPECT_FALSE(frame.TextToolBarShown());
    emit frame.FontPicked(1);
    emit frame.SizePicked(12);
}

TEST(EditTextDlg, ShowsTheValuesAndReturnAccepts)
{
    CEditTextValues values;
    values.text = "Kabel \xE9";
    values.height = "50";
    values.layer = "3";
    values.angle = "90";
    values.fontNumber = 1;
    values.italic = true;
    CEditTextDlg dlg(values, {"1. Arial", "2. Courier New"});
    EXPECT_EQ(dlg.windowTitle(), "Bewerk tekst");
    EXPECT_EQ(dlg.text->text(), QString::fromUtf8("Kabel \u00e9"));
    EXPECT_EQ(dlg.layer->currentText(), "3");
    EXPECT_EQ(dlg.font->currentText(), "2. Courier New");
    EXPECT_TRUE(dlg.italic->isChecked());
    EXPECT_FALSE(dlg.bold->isChecked());

    dlg.text->setText(QString::fromUtf8("L\u00ebnk\u4e2d"));
    dlg.layer->setEditText("12");
    dlg.angle->setText("-90");
    dlg.bold->setChecked(true);
    const CEditTextValues out = dlg.Values();
    EXPECT_EQ(out.text, "L\xEBnk");
    EXPECT_EQ(out.layer, "12");
    EXPECT_EQ(out.angle, "-90");
    EXPECT_EQ(out.height, "50");
    EXPECT_EQ(out.fontNumber, 1);
    EXPECT_TRUE(out.bold);

    // Return in a field, the layer's included, is OK.
    for (QWidget* field : {static_cast<QWidget*>(dlg.text), static_cast<QWidget*>(dlg.layer)}) {
        dlg.show();
        field->setFocus();
        Type(*field, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
        EXPECT_EQ(dlg.result(), QDialog::Accepted) << field->objectName().toStdString();
        EXPECT_FALSE(dlg.isVisible());
        dlg.setResult(0);
    }
}
