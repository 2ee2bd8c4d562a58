// The NetWare grids: directory browse lists become object and container rows, empty and broken lists
// a mark that is never a choice, and contexts go up and down one name at a time.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QStyle>
#include <QTableWidget>

#include "console/netware/NameListGrid.h"

namespace console {
namespace {

class NameListGridTest : public ::testing::Test {
  protected:
    QTableWidget grid{0, 2};
    GridPictures pictures{grid.style()->standardIcon(QStyle::SP_FileIcon),
                          grid.style()->standardIcon(QStyle::SP_DirIcon)};

    QStringList Names() const {
        QStringList names;
        for (int row = 0; row < grid.rowCount(); ++row) {
            names << grid.item(row, 1)->text();
        }
        return names;
    }
};

TEST_F(NameListGridTest, BrowseRecordsBecomeObjectAndContainerRowsWithTheirPictures) {
    FillGrid(&grid, "0003,PS1,1,O,0003,ENG,1,C,0005,SALES,1,C", pictures);
    EXPECT_EQ(Names(), (QStringList{"PS1", "ENG", "SALES"}));
    EXPECT_TRUE(GridFilled());
    EXPECT_TRUE(IsObjectRow(&grid, 0));
    EXPECT_FALSE(IsContainerRow(&grid, 0));
    EXPECT_TRUE(IsContainerRow(&grid, 1));
    EXPECT_EQ(GridRowName(&grid, 2), "SALES");
    EXPECT_EQ(grid.item(0, 0)->icon().cacheKey(), pictures.object.cacheKey());
    EXPECT_EQ(grid.item(2, 0)->icon().cacheKey(), pictures.container.cacheKey());
    EXPECT_FALSE(GridBusy());

    // Refilled, not added to; a second fill leaves no row of the first.
    FillGrid(&grid, "0002,Q1,1,O", pictures);
    EXPECT_EQ(Names(), QStringList{"Q1"});
}

TEST_F(NameListGridTest, EmptyAndBrokenListsShowAMarkThatIsNoChoice) {
    for (const char* list : {"", "00x3,PS1,1,O", "0040,PS1,1,O"}) {
        FillGrid(&grid, list, pictures);
        EXPECT_EQ(Names(), QStringList{"<Empty>"}) << list;
        EXPECT_FALSE(GridFilled()) << list;
        EXPECT_TRUE(grid.item(0, 0)->icon().isNull()) << list;
        EXPECT_FALSE(IsObjectRow(&grid, 0)) << list;
        EXPECT_FALSE(IsContainerRow(&grid, 0)) << list;
        EXPECT_EQ(GridRowName(&grid, 0), "") << list;
    }
    FillNameGrid(&grid, "", pictures, "none here");
    EXPECT_EQ(Names(), QStringList{"none here"});
    FillNameGrid(&grid, "0003,PS1,0003,PS2", pictures, "none here");
    EXPECT_EQ(Names(), (QStringList{"PS1", "PS2"}));
    EXPECT_TRUE(IsObjectRow(&grid, 1));
    EXPECT_EQ(GridRowName(&grid, 5), "") << "a row that is not there";
}

TEST_F(NameListGridTest, ContextsGoUpAndDownOneNameAtATime) {
    struct Case {
        QString context, parent, child;
    };
    for (const Case& c : {Case{"ENG.ORG", "ORG", "Q1.ENG.ORG"}, Case{"ORG", "[Root]", "Q1.ORG"},
                          Case{"[Root]", "[Root]", "Q1"}, Case{"", "[Root]", "Q1"}}) {
        EXPECT_EQ(ParentContext(c.context), c.parent) << c.context.toStdString();
        EXPECT_EQ(ChildContext("Q1", c.context), c.child) << c.context.toStdString();
    }
}

// Only a container is browsed into: an object or the empty mark leaves the context (and never asks
// the library, which this test has not loaded).
TEST_F(NameListGridTest, ExpandingAnObjectOrTheEmptyMarkDoesNothing) {
    QLineEdit context("ENG.ORG");
    FillGrid(&grid, "0003,PS1,1,O", pictures);
    grid.setCurrentCell(0, 1);
    ExpandNdsNode(&grid, "ACME", &context, "PRINT SERVER", pictures);
    EXPECT_EQ(context.text(), "ENG.ORG");
    EXPECT_EQ(Names(), QStringList{"PS1"});
    FillGrid(&grid, "", pictures);
    grid.setCurrentCell(0, 1);
    ExpandNdsNode(&grid, "ACME", &context, "PRINT SERVER", pictures);
    EXPECT_EQ(context.text(), "ENG.ORG");
}

}  // namespace
}  // namespace console
