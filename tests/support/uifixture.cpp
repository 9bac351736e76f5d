#include "uifixture.h"

#include "AlbumListView.h"
#include "AlbumTableModel.h"
#include "Unit1.h"
#include "cataloguefile.h"
#include "dialogs.h"
#include "settings.h"

#include <QAbstractItemModelTester>
#include <QListWidget>
#include <unistd.h>

namespace alborx::test {

void WindowTest::SetUp()
{
    char here[4096];
    previousFolder_ = ::getcwd(here, sizeof here) ? here : "/";
    ASSERT_EQ(::chdir(dir_.path().c_str()), 0);
    ui::DialogSeam::setAnswering(true);
}

void WindowTest::TearDown()
{
    ui::DialogSeam::setAnswering(false);
    ASSERT_EQ(::chdir(previousFolder_.c_str()), 0);
}

std::string WindowTest::writeCatalogue(const std::string& name, const std::vector<Row>& albums)
{
    AlbumTable table;
    table.assignAlbums(albums);
    TUstawienia settings;
    EXPECT_EQ(zapiszbaze(table, settings, dir_.file(name)), WriteError::None);
    return dir_.file(name);
}

ListWatch::ListWatch(TForm1& form)
{
    for (QAbstractItemModel* model :
         {static_cast<QAbstractItemModel*>(form.listacdModel),
          static_cast<QAbstractItemModel*>(form.listafiltrModel), form.listagatunkow->model()})
        testers_.push_back(std::make_unique<QAbstractItemModelTester>(
            model, QAbstractItemModelTester::FailureReportingMode::Warning));
}

ListWatch::~ListWatch() = default;

Row albumRow(const std::string& id, const std::string& performer, const std::string& title,
             const std::string& genre)
{
    return {id, performer, title, genre, "O", "-", id, "-"};
}

} // namespace alborx::test
