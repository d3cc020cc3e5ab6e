// The properties dialog on screens of different heights, its group frames, and keys, tab
// order and the wheel through its scroll area.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyleOptionGroupBox>
#include <QTest>
#include <QWheelEvent>

#include "dialog_fixture.h"
#include "settings/ui/dialog_fit.h"
#include "settings/ui/dialog_units.h"
#include "settings/ui/properties_template.h"

namespace lumeno::test {
namespace {

constexpr QMargins kFrame{1, 20, 1, 1}; // a window manager's thin border and title bar

class DialogLayoutTest : public DialogTest {
protected:
    DialogBaseUnits Units() const { return BaseUnitsOf(dialog.font()); }
    QSize PageSize() const { return DialogSizeToPixels(150, 503, Units()); }
    QScrollBar& ScrollBar() const { return *dialog.ScrollArea()->verticalScrollBar(); }
    bool WhollyShown(const QWidget* widget) const
    {
        return dialog.rect().contains(QRect(widget->mapTo(&dialog, QPoint(0, 0)), widget->size()));
    }

    // A control by its id, or by its caption where it has none.
    QWidget* ControlOf(const TemplateControl& control) const
    {
        if (control.id != id::kNone)
            return dialog.Control(control.id);
        for (QGroupBox* box : dialog.Page()->findChildren<QGroupBox*>())
            if (box->title() == control.caption)
                return box;
        for (QLabel* label : dialog.Page()->findChildren<QLabel*>())
            if (label->text() == control.caption)
                return label;
        return nullptr;
    }

    // Every control at its template rectangle on the page, the page the same size.
    void ExpectTemplateGeometry() const
    {
        EXPECT_EQ(dialog.Page()->size(), PageSize());
        for (const TemplateControl& control : kPropertiesTemplate.controls) {
            const QWidget* widget = ControlOf(control);
            ASSERT_NE(widget, nullptr) << control.caption;
            EXPECT_EQ(widget->parentWidget(), dialog.Page()) << control.caption;
            QRect expected = DialogRectToPixels(control.rect, Units());
            if (control.kind == ControlKind::ComboBox)
                expected.setHeight(widget->height()); // closed, as high as its font needs
            EXPECT_EQ(widget->geometry(), expected) << control.id << " " << control.caption;
        }
    }

    bool Tabbable(const QWidget* widget) const
    {
        return widget != nullptr && (widget->focusPolicy() & Qt::TabFocus) != 0 && widget->isVisibleTo(&dialog);
    }

    // The focusable widgets, along the focus chain from the first control.
    std::vector<QWidget*> TabChain() const
    {
        std::vector<QWidget*> chain;
        QWidget* first = dialog.Control(id::kRestoreDefault);
        QWidget* widget = first;
        do {
            if (Tabbable(widget))
                chain.push_back(widget);
            widget = widget->nextInFocusChain();
        } while (widget != first && chain.size() < 200);
        return chain;
    }

    std::vector<QWidget*> TemplateTabOrder() const
    {
        std::vector<QWidget*> order;
        for (const TemplateControl& control : kPropertiesTemplate.controls)
            if (Tabbable(dialog.Control(control.id)))
                order.push_back(dialog.Control(control.id));
        return order;
    }

    // One notch of the wheel, down, over `widget`.
    static void WheelDown(QWidget* widget)
    {
        const QPointF at = QRectF(widget->rect()).center();
        QWheelEvent wheel(at, widget->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(widget, &wheel);
    }
};

TEST_F(DialogLayoutTest, ScrollsOnlyWhereTheScreenBelowTheHomePositionIsShorterThanTheDialogTabbingInTemplateOrder)
{
    const int page = PageSize().height();
    // Room for the client: the screen less the home position's 60 and the frame's 21.
    const struct {
        int screenHeight;
        bool scrolls;
        int clientHeight;
    } rows[] = {
        {page + 81 + 200, false, page}, {page + 81, false, page}, {page + 80, true, page - 1},
        {768, true, 768 - 81},          {500, true, 500 - 81},    {120, true, kMinimumScrolledHeight},
        {page + 81, false, page}, // and back to the plain dialog
    };
    dialog.show(); // a hidden scroll area lays out its viewport only when shown
    for (const auto& row : rows) {
        SCOPED_TRACE(row.screenHeight);
        dialog.FitTo(QRect(0, 0, 1600, row.screenHeight), kFrame);

        EXPECT_EQ(dialog.Scrolls(), row.scrolls);
        EXPECT_EQ(dialog.ScrollArea()->isVisibleTo(&dialog), row.scrolls);
        const int width = PageSize().width() + (row.scrolls ? ScrollBar().sizeHint().width() : 0);
        EXPECT_EQ(dialog.size(), QSize(width, row.clientHeight));
        EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
        ExpectTemplateGeometry();
        EXPECT_EQ(TabChain(), TemplateTabOrder()); // neither the scroll area nor its bar joins it
        if (row.scrolls) {
            // The bar covers no control; the last row of buttons scrolls into view.
            EXPECT_EQ(dialog.ScrollArea()->viewport()->size(), QSize(PageSize().width(), row.clientHeight));
            QWidget* save = dialog.Control(id::kSaveSettings);
            dialog.ScrollArea()->ensureWidgetVisible(save, 0, 0);
            EXPECT_TRUE(WhollyShown(save));
        } else {
            EXPECT_EQ(dialog.Page()->parentWidget(), &dialog);
            EXPECT_EQ(dialog.Page()->pos(), QPoint(0, 0));
        }
    }
}

TEST_F(DialogLayoutTest, KeysPassThroughTheScrollAreaAndTabBringsTheFocusIntoView)
{
    dialog.ShowAtHomePosition();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    dialog.FitTo(QRect(0, 0, 1600, 500), kFrame);
    ASSERT_TRUE(dialog.Scrolls());

    // From Gravity Power (the last trackbar at the bottom) Tab wraps round to Restore
    // Default: the page scrolls so it shows.
    ScrollBar().setValue(0);
    QWidget* restore = dialog.Control(id::kRestoreDefault);
    restore->setFocus();
    QTest::keyClick(restore, Qt::Key_Backtab);
    QTest::keyClick(dialog.focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(dialog.focusWidget(), restore);
    EXPECT_GT(ScrollBar().value(), 0);
    EXPECT_TRUE(WhollyShown(restore));

    // A key on a control still reaches the frame once, and Escape still hides the dialog.
    QWidget* alpha = dialog.Control(id::kAlpha);
    alpha->setFocus();
    host.keys.clear();
    QTest::keyClick(alpha, Qt::Key_2);
    QTest::keyClick(alpha, Qt::Key_Escape);
    ASSERT_EQ(host.keys.size(), 2u);
    EXPECT_EQ(host.keys[0].virtualKey, 0x32u);
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(DialogLayoutTest, TheWheelScrollsThePageUnlessTheControlUnderItHasTheFocus)
{
    dialog.ShowAtHomePosition();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    const struct {
        int screenHeight;
        int controlId;
        bool focused;
        bool controlMoves;
    } rows[] = {
        {500, id::kAlpha, false, false},   {500, id::kQuality, false, false}, {500, id::kMultiThreaded, false, false},
        {500, id::kAlpha, true, true},     {500, id::kQuality, true, true},
        {2000, id::kAlpha, false, true}, // nothing to scroll: a plain dialog's trackbar takes it
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.screenHeight << " " << row.controlId << " " << row.focused);
        dialog.UpdateControls();
        dialog.ControlAs<QComboBox>(id::kQuality)->setCurrentIndex(0); // room to move down
        dialog.FitTo(QRect(0, 0, 1600, row.screenHeight), kFrame);
        ScrollBar().setValue(0);
        QWidget* control = dialog.Control(row.controlId);
        if (row.focused)
            control->setFocus();
        else
            dialog.Control(id::kRestoreDefault)->setFocus();
        const auto records = Records();
        const int alpha = Bar(id::kAlpha).value();
        const int quality = dialog.ControlAs<QComboBox>(id::kQuality)->currentIndex();

        WheelDown(control);

        const bool moved = Bar(id::kAlpha).value() != alpha ||
                           dialog.ControlAs<QComboBox>(id::kQuality)->currentIndex() != quality;
        EXPECT_EQ(moved, row.controlMoves);
        EXPECT_EQ(Records() != records, row.controlMoves && row.controlId == id::kAlpha);
        EXPECT_EQ(ScrollBar().value() > 0, dialog.Scrolls() && !row.controlMoves);
    }
}

TEST_F(DialogLayoutTest, GroupTitlesSitOnTheFrameLineAboveTheControlsTheyHold)
{
    ASSERT_EQ(dialog.Page()->findChildren<QGroupBox*>().size(), 6);
    for (const TemplateControl& group : kPropertiesTemplate.controls) {
        if (group.kind != ControlKind::GroupBox)
            continue;
        SCOPED_TRACE(group.caption);
        const auto* box = qobject_cast<QGroupBox*>(ControlOf(group));
        ASSERT_NE(box, nullptr);
        const QGroupBox& widget = *box;
        QStyleOptionGroupBox option;
        option.initFrom(&widget);
        option.text = widget.title();
        option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
        option.lineWidth = 1;
        const QStyle& style = *widget.style();
        const QRect title = style.subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, &widget)
                                .translated(widget.pos());
        const QRect frame = style.subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxFrame, &widget)
                                .translated(widget.pos());

        // The template's rectangle; the line at half the title's height, the title on it.
        EXPECT_EQ(widget.geometry(), DialogRectToPixels(group.rect, Units()));
        EXPECT_EQ(title.top(), widget.y());
        EXPECT_EQ(frame.top(), widget.y() + title.height() / 2);
        EXPECT_EQ(frame.bottom(), widget.geometry().bottom());
        EXPECT_TRUE(widget.geometry().contains(title));
        for (const TemplateControl& control : kPropertiesTemplate.controls) {
            const QRect held = DialogRectToPixels(control.rect, Units());
            if (control.kind == ControlKind::GroupBox || !widget.geometry().contains(held))
                continue;
            const QRect inner = ControlOf(control)->geometry();
            EXPECT_FALSE(inner.intersects(title)) << control.caption;
            EXPECT_GT(inner.top(), frame.top()) << control.caption; // below the line, not across it
        }
    }
}

} // namespace
} // namespace lumeno::test
