// A fixture for window tests: each test runs in a fresh working folder (the
// program keeps its settings there) with every dialog answered in advance.
#pragma once

#include "albumtable.h"
#include "tempdir.h"

#include <QString>
#include <gtest/gtest.h>
#include <string>
#include <vector>

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

Row albumRow(const std::string& id, const std::string& performer, const std::string& title,
             const std::string& genre = {});

} // namespace alborx::test
