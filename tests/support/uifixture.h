// A fixture for window tests: each test runs in a fresh working folder (the
// program keeps its settings there) with every dialog answered in advance.
#pragma once

#include "albumtable.h"
#include "tempdir.h"

#include <QString>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

class QAbstractItemModelTester;

// Failed comparisons of texts show the texts.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}
class TForm1;

namespace alborx::test {

class WindowTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes a catalogue file of the given rows into the working folder.
    std::string writeCatalogue(const std::string& name, const std::vector<Row>& albums);

    TempDir dir_;

private:
    std::string previousFolder_;
};

// Watches the window's album list, filtered list and genre list with
// QAbstractItemModelTester for as long as it lives: a model that breaks its
// contract makes the tester warn, and a warning fails the test.
class ListWatch
{
public:
    explicit ListWatch(TForm1& form);
    ~ListWatch();

private:
    std::vector<std::unique_ptr<QAbstractItemModelTester>> testers_;
};

Row albumRow(const std::string& id, const std::string& performer, const std::string& title,
             const std::string& genre = {});

} // namespace alborx::test
