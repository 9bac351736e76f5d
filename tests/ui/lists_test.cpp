#include "AlbumListView.h"
#include "AlbumTableModel.h"
#include "Unit5.h"
#include "uifixture.h"

#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QPushButton>
#include <QTest>
#include <gmock/gmock.h>
#include <gtest/gtest-spi.h>

namespace alborx::test {
namespace {

using ui::AlbumListView;
using ui::AlbumTableModel;

class AlbumList : public ::testing::Test
{
protected:
    AlbumList()
    {
        table_.assignAlbums({albumRow("00003", "b", "x"), albumRow("00001", "a", "y"),
                             albumRow("00002", "\xB9", "z"), albumRow("00004", "B", "w")});
    }

    void clickHeader(int column)
    {
        QHeaderView* header = view_.horizontalHeader();
        const int x = header->sectionViewportPosition(column) + header->sectionSize(column) / 2;
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, 5));
    }

    QStringList column(int c) const
    {
        QStringList texts;
        for (int r = 0; r < model_.rowCount(); ++r)
            texts << model_.index(r, c).data().toString();
        return texts;
    }

    AlbumTable table_;
    AlbumTableModel model_{table_};
    // Every test here sorts or reloads under the tester's eye.
    QAbstractItemModelTester tester_{&model_,
                                     QAbstractItemModelTester::FailureReportingMode::Warning};
    AlbumListView view_{&model_, {36, 188, 206, 67, 23, 22, 37, 35}};
};

TEST_F(AlbumList, ModelIsConsistent)
{
    model_.sortByHeader(ColumnId);
    model_.reload();
    EXPECT_EQ(model_.headerData(7, Qt::Horizontal, Qt::DisplayRole).toString(), "ID MC");
    EXPECT_FALSE(model_.flags(model_.index(0, 0)) & Qt::ItemIsEditable);
}

// A model that says it has rows but gives no index for them: the tester's
// warning must reach the test as a failure, or the checks above prove nothing.
class BrokenModel : public QAbstractTableModel
{
public:
    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : 3; }
    int columnCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : 2;
    }
    QModelIndex index(int, int, const QModelIndex& = {}) const override { return {}; }
    QVariant data(const QModelIndex&, int) const override { return {}; }
};

TEST(ModelTester, WarningsOfABrokenModelFailTheTest)
{
    BrokenModel broken;
    ::testing::TestPartResultArray failures;
    {
        const ::testing::ScopedFakeTestPartResultReporter intercept(
            ::testing::ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD, &failures);
        QAbstractItemModelTester tester(&broken,
                                        QAbstractItemModelTester::FailureReportingMode::Warning);
    }
    ASSERT_GT(failures.size(), 0);
    EXPECT_TRUE(failures.GetTestPartResult(0).failed());
    EXPECT_THAT(failures.GetTestPartResult(0).message(), ::testing::HasSubstr("FAIL!"));
}

TEST_F(AlbumList, PresentationDefaults)
{
    EXPECT_EQ(view_.columnWidth(0), 36);
    EXPECT_EQ(view_.columnWidth(2), 206);
    EXPECT_EQ(view_.rowHeight(), 17);
    EXPECT_EQ(view_.font().family(), "Arial");
    EXPECT_EQ(view_.font().pointSize(), 8);
    EXPECT_EQ(view_.selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_EQ(view_.editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_FALSE(view_.showGrid());
    EXPECT_EQ(view_.horizontalHeader()->sortIndicatorSection(), ColumnPerformer);
    EXPECT_EQ(view_.horizontalHeader()->sortIndicatorOrder(), Qt::AscendingOrder);
    EXPECT_TRUE(view_.horizontalHeader()->font().bold());
}

TEST_F(AlbumList, HeaderClicksSortByBytesAndToggle)
{
    view_.show();
    clickHeader(ColumnPerformer);
    EXPECT_EQ(column(ColumnPerformer), QStringList({"ą", "b", "a", "B"}));
    EXPECT_EQ(view_.horizontalHeader()->sortIndicatorOrder(), Qt::DescendingOrder);
    clickHeader(ColumnPerformer);
    EXPECT_EQ(column(ColumnPerformer), QStringList({"B", "a", "b", "ą"}));
    clickHeader(ColumnId);
    EXPECT_EQ(column(ColumnId), QStringList({"00001", "00002", "00003", "00004"}));
    EXPECT_EQ(view_.horizontalHeader()->sortIndicatorSection(), ColumnId);
    EXPECT_EQ(view_.horizontalHeader()->sortIndicatorOrder(), Qt::AscendingOrder);
}

TEST_F(AlbumList, TheSelectionFollowsItsAlbum)
{
    view_.show();
    view_.selectAlbumRow(3); // "00002"
    clickHeader(ColumnId);
    EXPECT_EQ(view_.currentAlbumRow(), 2);
    EXPECT_EQ(table_.cell(ColumnId, view_.currentAlbumRow()), "00002");
    const auto selected = view_.selectionModel()->selectedRows();
    ASSERT_EQ(selected.size(), 1);
    EXPECT_EQ(selected.first().row(), 1);
}

TEST_F(AlbumList, OneAlbumIsNotSortedAndTheMarkStays)
{
    table_.assignAlbums({albumRow("00001", "a", "y")});
    model_.reload();
    view_.show();
    clickHeader(ColumnPerformer);
    EXPECT_EQ(view_.horizontalHeader()->sortIndicatorOrder(), Qt::AscendingOrder);
    EXPECT_TRUE(table_.sortAscending());
}

TEST(ProgressWindow, FollowsTheStepRuleAndHoldsAtTheMaximum)
{
    TForm5 progress;
    EXPECT_EQ(progress.size(), QSize(290, 20));
    progress.start("Wczytywanie bazy...");
    EXPECT_TRUE(progress.isVisible());
    EXPECT_EQ(progress.windowTitle(), "Wczytywanie bazy...");
    progress.setMaximum(0);
    EXPECT_EQ(progress.percent(), 0);
    progress.setMaximum(99);
    for (int row = 1; row <= 100; ++row)
        advanceProgress(&progress, row, kAlbumLoopStep);
    EXPECT_EQ(progress.position(), 96);
    EXPECT_EQ(progress.percent(), 96);
    progress.setPosition(500);
    EXPECT_EQ(progress.position(), 99);
    EXPECT_EQ(progress.percent(), 100);
    progress.setMaximum(3);
    progress.setPosition(2);
    EXPECT_EQ(progress.percent(), 66);
    progress.hide();
}

TEST(ProgressWindow, BlocksTheMainWindowAndShowsTheBusyCursorWhileUp)
{
    QWidget main;
    main.show();
    TForm5 progress(&main);
    {
        ProgressScope scope(progress, "Zapisywanie bazy...");
        EXPECT_EQ(QApplication::activeModalWidget(), &progress);
        ASSERT_NE(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    }
    EXPECT_FALSE(progress.isVisible());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(ProgressWindow, AnulujStopsOnlyWhatCanBeStopped)
{
    TForm5 progress;
    progress.start("Wczytywanie pliku CSV...", true);
    ASSERT_TRUE(progress.Anuluj->isVisible());
    EXPECT_FALSE(progress.cancelled());
    QTest::mouseClick(progress.Anuluj, Qt::LeftButton);
    EXPECT_TRUE(progress.cancelled());
    // The next operation starts afresh, and one that cannot be stopped shows
    // the bar alone.
    progress.start("Zapisywanie bazy...");
    EXPECT_FALSE(progress.cancelled());
    EXPECT_FALSE(progress.Anuluj->isVisible());
    EXPECT_EQ(progress.size(), QSize(290, 20));
    progress.hide();
}

} // namespace
} // namespace alborx::test
