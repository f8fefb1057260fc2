#include "gui/place_text_dlg.h"

#include <cstdlib>

#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>

#include "app/command_table.h"
#include "document/document.h"
#include "gui/drawing_view.h"
#include "gui/main_frame.h"
#include "gui/project_windows.h"
#include "gui_test_main.h"
#include "model/sheet.h"
#include "support/shipped_data.h"

namespace {

void PressKey(QWidget* target, Qt::Key key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(target, &release);
}

void Mouse(CDovereduView& view, QEvent::Type type, QPoint p)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, QPointF(p), view.viewport()->mapToGlobal(QPointF(p)), button,
        type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(view.viewport(), &event);
}

void Click(CDovereduView& view, QPoint p)
{
    Mouse(view, QEvent::MouseMove, p);
    Mouse(view, QEvent::MouseButtonPress, p);
    Mouse(view, QEvent::MouseButtonRelease, p);
}

CPlaceTextValues Sample()
{
    CPlaceTextValues v;
    v.text = "Kast \xe9\xe9n"; // Windows-1252
    v.layer = "9";
    v.pen = "1";
    v.size = "50";
    v.mirrored = true;
    v.angle = "-90";
    return v;
}

} // namespace

TEST(PlaceTextDlg, ShowsTheValuesAndGivesTheFieldsAsTyped)
{
    CPlaceTextDlg dlg(Sample());
    EXPECT_EQ(dlg.windowTitle(), "Plaats tekst");
    EXPECT_EQ(dlg.text->text(), QString::fromUtf8("Kast één"));
    EXPECT_EQ(dlg.layer->currentText(), "9");
    EXPECT_TRUE(dlg.layer->isEditable());
    EXPECT_EQ(dlg.layer->count(), 0);
    EXPECT_EQ(dlg.pen->currentText(), "1");
    EXPECT_EQ(dlg.pen->count(), 0);
    EXPECT_EQ(dlg.size->text(), "50");
    EXPECT_TRUE(dlg.mirror->isChecked());
    EXPECT_EQ(dlg.mirror->text(), "Spiegelen");
    EXPECT_EQ(dlg.angle->text(), "-90");
    EXPECT_EQ(dlg.focusWidget(), dlg.text);

    dlg.text->setText(QString::fromUtf8("Vóór"));
    dlg.layer->setEditText("16x");
    dlg.pen->setEditText("");
    dlg.size->setText("abc");
    dlg.mirror->setChecked(false);
    dlg.angle->setText("99999999999");
    const CPlaceTextValues v = dlg.Values();
    EXPECT_EQ(v.text, "V\xf3\xf3r");
    EXPECT_EQ(v.layer, "16x");
    EXPECT_EQ(v.pen, "");
    EXPECT_EQ(v.size, "abc");
    EXPECT_FALSE(v.mirrored);
    EXPECT_EQ(v.angle, "99999999999");
}

TEST(PlaceTextDlg, ReturnAcceptsFromEveryField)
{
    for (const char* field : {"text", "layer", "pen", "size", "angle"}) {
        CPlaceTextDlg dlg(Sample());
        RunWhenModal<CPlaceTextDlg>([field](CPlaceTextDlg* d) {
            QWidget* w = d->findChild<QWidget*>(QString::fromLatin1(field));
            if (auto* combo = qobject_cast<QComboBox*>(w))
                w = combo->lineEdit();
            w->setFocus();
            PressKey(w, Qt::Key_Return);
            if (d->isVisible())
                d->reject();
        });
        EXPECT_EQ(dlg.exec(), QDialog::Accepted) << field;
        EXPECT_EQ(dlg.layer->count(), 0) << field; // nothing was added to the list
    }
}

// A text written, placed twice, then turned and mirrored while it follows
// the pointer. With RIDIZAV_SCREENSHOTS set, the dialog and the window are saved
// there as place_text_dlg.png and stroke_text.png.
TEST(PlaceTextDlg, ATextPlacedTwiceAndItsTurnedMirroredGhost)
{
    CMainFrame frame;
    frame.resize(1000, 760);
    CProjectWindows projects(frame);
    projects.NewProject();
    frame.show();
    CDovereduView& view = projects.Windows().front()->View();
    CDovereduDoc& doc = view.Document();
    CSheet& s = doc.GetActiveSheet();
    ASSERT_TRUE(s.font.Load((ShippedDataFolder() / CDovereduFont::kFileName).string()));
    const int frameRecords = s.recordCount;

    ASSERT_TRUE(frame.Router().Execute(Cmd::ToolText));
    RunWhenModal<CPlaceTextDlg>([](CPlaceTextDlg* d) {
        d->text->setText(QStringLiteral("Verdeelkast K1"));
        d->size->setText(QStringLiteral("120"));
        if (const char* shots = std::getenv("RIDIZAV_SCREENSHOTS"))
            d->grab().save(QString::fromLocal8Bit(shots) + QStringLiteral("/place_text_dlg.png"));
        PressKey(d->text, Qt::Key_Return);
    });
    // The press opens the dialog, which takes the button's release.
    Mouse(view, QEvent::MouseMove, {120, 150});
    Mouse(view, QEvent::MouseButtonPress, {120, 150});
    ASSERT_EQ(s.toolStep, Step::Placing);
    const int text = s.placementCount;
    ASSERT_GT(text, 0);
    Click(view, {120, 150});
    Click(view, {120, 300});
    EXPECT_EQ(s.recordCount - frameRecords, 2 * text);
    EXPECT_EQ(s.records[frameRecords].Block(), s.records[frameRecords + text].Block() - 1);

    ASSERT_TRUE(frame.Router().Execute(Cmd::TextRotate));
    ASSERT_TRUE(frame.Router().Execute(Cmd::TextMirror));
    ASSERT_TRUE(frame.Router().Execute(Cmd::TextBigger));
    EXPECT_EQ(frame.PaneText(0), QStringLiteral("Tekstformaat: 121"));
    Mouse(view, QEvent::MouseMove, {600, 420});
    EXPECT_EQ(s.toolStep, Step::Placing);
    EXPECT_EQ(s.font.Angle(), 90);
    EXPECT_TRUE(s.font.IsMirrored());
    view.grab();
    if (const char* shots = std::getenv("RIDIZAV_SCREENSHOTS"))
        frame.grab().save(QString::fromLocal8Bit(shots) + QStringLiteral("/stroke_text.png"));
    PressKey(&view, Qt::Key_Escape);
    EXPECT_EQ(s.toolMode, ToolMode::Select);
    frame.canClose = nullptr;
}
