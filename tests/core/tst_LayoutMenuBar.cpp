#include "core/LayoutMenuBar.h"

#include <QtTest>

using namespace jornix;
using namespace jornix::MenuBarControl;

namespace {

// A bar 100 pixels wide, open, at 2 pixels per dialog unit. A frame 470 pixels high gives a window of 428
// pixels and an inner area of 400 pixels: 200 dialog units.
MenuBarStateRecord OpenBar(int group = 0, int firstVisible = 1, double scale = 2)
{
    MenuBarStateRecord state;
    state.ScaleX = scale;
    state.ScaleY = scale;
    state.Reserve = qint16(20 * scale);
    state.BarOpened = 1;
    state.CurrentGroup = quint8(group);
    state.FirstVisible[std::size_t(group)] = quint8(firstVisible);
    state.LastLayoutTime = 100;
    return state;
}

constexpr int Now = 5000; // well after the last layout

MenuBarLayout Lay(const MenuBarStateRecord& state, int frameHeight = 470)
{
    return LayoutMenuBar(state, frameHeight, Now);
}

QList<int> HeaderTops(const MenuBarLayout& layout)
{
    QList<int> tops;
    for (int k = 1; k <= MenuBarStateRecord::Groups; ++k)
        tops << layout.controls[std::size_t(Header(k))].rect.y();
    return tops;
}

// The item buttons shown, by control number, over every group.
QList<int> ShownItems(const MenuBarLayout& layout)
{
    const MenuBarStateRecord counts;
    QList<int> shown;
    for (int k = 1; k <= MenuBarStateRecord::Groups; ++k)
        for (int j = 1; j <= counts.ItemCount[std::size_t(k)]; ++j)
            if (layout.controls[std::size_t(ItemButton(k, j))].visible)
                shown << ItemButton(k, j);
    return shown;
}

} // namespace

class LayoutMenuBarTest : public QObject
{
    Q_OBJECT

private slots:
    void theWindowItsPanelsAndTheSplitBar()
    {
        const MenuBarLayout layout = Lay(OpenBar());
        QVERIFY(layout.placed);
        QCOMPARE(layout.controls[Window].rect, QRect(0, 0, 106, 428));
        QCOMPARE(layout.controls[OuterPanel].rect, QRect(0, -1, 106, 428));
        QCOMPARE(layout.controls[InnerPanel].rect, QRect(3, 20, 98, 400));
        QCOMPARE(layout.controls[CloseButton].rect, QRect(80, 1, 18, 18));
        QCOMPARE(layout.controls[BackgroundPicture].rect, QRect(4, 20, 96, 399));
        QCOMPARE(layout.controls[SplitBar].rect, QRect(100, 20, 6, 400));
    }

    void aHiddenBarIsAWindowNoPixelsWide()
    {
        MenuBarStateRecord state = OpenBar();
        state.BarWidth = MenuBarStateRecord::HiddenWidth;
        const MenuBarLayout layout = Lay(state);
        QVERIFY(layout.placed);
        QCOMPARE(layout.controls[Window].rect.width(), 0);
    }

    void theHeadersStackAboveAndBelowTheExpandedGroup_data()
    {
        QTest::addColumn<int>("group");
        QTest::addColumn<double>("scale");
        QTest::addColumn<QList<int>>("tops");
        // From the top at 11, 25, 39 ... dialog units; from the bottom so that the eighth header's bottom
        // edge meets the inner area's (20 + 400 pixels).
        QTest::newRow("none expanded") << 0 << 2.0 << QList<int>{196, 224, 252, 280, 308, 336, 364, 392};
        QTest::newRow("Log Events") << 1 << 2.0 << QList<int>{22, 224, 252, 280, 308, 336, 364, 392};
        QTest::newRow("Sticky Notes") << 4 << 2.0 << QList<int>{22, 50, 78, 106, 308, 336, 364, 392};
        QTest::newRow("Setup") << 8 << 2.0 << QList<int>{22, 50, 78, 106, 134, 162, 190, 218};
        // 1.875 pixels per unit: a window of 431 pixels, an inner area of 404; every place truncated.
        QTest::newRow("Log Events, 1.875 per unit")
            << 1 << 1.875 << QList<int>{20, 239, 265, 291, 317, 344, 370, 396};
    }
    void theHeadersStackAboveAndBelowTheExpandedGroup()
    {
        QFETCH(int, group);
        QFETCH(double, scale);
        QFETCH(QList<int>, tops);
        const MenuBarLayout layout = Lay(OpenBar(group, 1, scale));
        QCOMPARE(HeaderTops(layout), tops);
        const int width = int(layout.controls[InnerPanel].rect.width() - scale);
        for (int k = 1; k <= MenuBarStateRecord::Groups; ++k) {
            const QRect header = layout.controls[std::size_t(Header(k))].rect;
            QCOMPARE(header, QRect(4, tops[k - 1], width, int(14 * scale)));
            QCOMPARE(layout.controls[std::size_t(HeaderImage(k))].rect, header);
        }
    }

    // Log Events has four items; 470 pixels give an inner area of 200 dialog units.
    void theExpandedGroupShowsTheItemsThatFit_data()
    {
        QTest::addColumn<int>("frameHeight");
        QTest::addColumn<int>("firstVisible");
        QTest::addColumn<int>("capacity");
        QTest::addColumn<int>("firstAfter");
        QTest::addColumn<QList<int>>("shown");
        QTest::addColumn<bool>("upArrow");
        QTest::addColumn<bool>("downArrow");
        QTest::addColumn<int>("firstItemTop");

        QTest::newRow("Date View and All Events, with the down arrow")
            << 470 << 1 << 2 << 1 << QList<int>{8, 10} << false << true << 50;
        QTest::newRow("one press down: All Events and Print, 6 units lower")
            << 470 << 2 << 2 << 2 << QList<int>{10, 12} << true << true << 62;
        QTest::newRow("another press: Print and Search, no down arrow")
            << 470 << 3 << 2 << 3 << QList<int>{12, 14} << true << false << 62;
        QTest::newRow("beyond the last item: pulled back")
            << 470 << 4 << 2 << 3 << QList<int>{12, 14} << true << false << 62;
        QTest::newRow("a taller frame pulls the first item back")
            << 570 << 3 << 3 << 2 << QList<int>{10, 12, 14} << true << false << 62;
        QTest::newRow("a frame tall enough for all: back to the first")
            << 670 << 3 << 5 << 1 << QList<int>{8, 10, 12, 14} << false << false << 50;
        QTest::newRow("too low for one item: headers and arrows only")
            << 350 << 1 << 0 << 1 << QList<int>{} << false << true << 0;
    }
    void theExpandedGroupShowsTheItemsThatFit()
    {
        QFETCH(int, frameHeight);
        QFETCH(int, firstVisible);
        QFETCH(int, capacity);
        QFETCH(int, firstAfter);
        QFETCH(QList<int>, shown);
        QFETCH(bool, upArrow);
        QFETCH(bool, downArrow);
        QFETCH(int, firstItemTop);

        MenuBarStateRecord state = OpenBar(1, firstVisible);
        const MenuBarLayout layout = Lay(state, frameHeight);
        QCOMPARE(layout.capacity, capacity);
        QCOMPARE(int(layout.firstVisible), firstAfter);
        QCOMPARE(ShownItems(layout), shown);
        QCOMPARE(layout.controls[UpArrow].visible, upArrow);
        QCOMPARE(layout.controls[DownArrow].visible, downArrow);
        const int innerHeight = layout.controls[InnerPanel].rect.height();
        if (upArrow)
            QCOMPARE(layout.controls[UpArrow].rect, QRect(4, 48, 96, 12)); // under the Log Events header
        if (downArrow)                                                     // over the Reminder header
            QCOMPARE(layout.controls[DownArrow].rect, QRect(4, innerHeight + 1 - 188, 96, 12));
        for (int i = 0; i < shown.size(); ++i) {
            const int top = firstItemTop + 68 * i;
            QCOMPARE(layout.controls[std::size_t(shown[i])].rect, QRect(4, top, 96, 68));
            QCOMPARE(layout.controls[std::size_t(shown[i] + 1)].rect, QRect(4, top + 48, 96, 20));
            QVERIFY(layout.controls[std::size_t(shown[i] + 1)].visible);
        }
        StoreLayoutState(layout, state);
        QCOMPARE(int(state.FirstVisible[1]), firstAfter);
    }

    void onlyTheExpandedGroupShowsItems_data()
    {
        QTest::addColumn<int>("group");
        QTest::addColumn<QList<int>>("shown");
        QTest::newRow("none") << 0 << QList<int>{};
        QTest::newRow("Sticky Notes") << 4 << QList<int>{30, 32};
        QTest::newRow("Design Reports") << 7 << QList<int>{48};
        QTest::newRow("Setup") << 8 << QList<int>{52, 54, 56};
    }
    void onlyTheExpandedGroupShowsItems()
    {
        QFETCH(int, group);
        QFETCH(QList<int>, shown);
        const MenuBarLayout layout = Lay(OpenBar(group), 670);
        QCOMPARE(ShownItems(layout), shown);
        QVERIFY(!layout.controls[UpArrow].visible);
        QVERIFY(!layout.controls[DownArrow].visible);
    }

    void layoutsInABurstAreThrottled_data()
    {
        QTest::addColumn<int>("lastLayout");
        QTest::addColumn<int>("now");
        QTest::addColumn<bool>("forced");
        QTest::addColumn<bool>("placed");
        QTest::addColumn<int>("lastAfter");
        QTest::newRow("3 hundredths later") << 1000 << 1003 << false << false << 1000;
        QTest::newRow("5 hundredths later") << 1000 << 1005 << false << false << 1000;
        QTest::newRow("6 hundredths later") << 1000 << 1006 << false << true << 1006;
        QTest::newRow("forced, 3 hundredths later") << 1000 << 1003 << true << true << 1003;
        QTest::newRow("midnight passed") << 8639990 << 3 << false << true << 3;
    }
    void layoutsInABurstAreThrottled()
    {
        QFETCH(int, lastLayout);
        QFETCH(int, now);
        QFETCH(bool, forced);
        QFETCH(bool, placed);
        QFETCH(int, lastAfter);
        MenuBarStateRecord state = OpenBar(1, 3);
        state.LastLayoutTime = lastLayout;
        state.ForceLayout = forced;
        const MenuBarLayout layout = LayoutMenuBar(state, 670, now);
        QCOMPARE(layout.placed, placed);
        QCOMPARE(layout.throttled, !placed);
        StoreLayoutState(layout, state);
        QCOMPARE(state.LastLayoutTime, lastAfter);
        QCOMPARE(int(state.ForceLayout), 0);
        QCOMPARE(int(state.FirstVisible[1]), placed ? 1 : 3); // a skipped layout changes nothing
    }

    void aBarNotOpenIsNotPlaced()
    {
        MenuBarStateRecord state = OpenBar();
        state.BarOpened = 0;
        const MenuBarLayout layout = Lay(state);
        QVERIFY(!layout.placed);
        QVERIFY(!layout.throttled);
        QCOMPARE(layout.lastLayoutTime, Now);
    }
};

QTEST_APPLESS_MAIN(LayoutMenuBarTest)
#include "tst_LayoutMenuBar.moc"
