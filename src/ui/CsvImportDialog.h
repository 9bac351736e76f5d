// The dialog of "Importuj z CSV…": shows the first lines of the file as a
// table and lets the user choose the separator, whether the first line is a
// header, the encoding and which file column goes to which album field.
#pragma once

#include "csvexchange.h"

#include <QDialog>
#include <array>
#include <string>

class QCheckBox;
class QComboBox;
class QTableWidget;

class CsvImportDialog : public QDialog
{
    Q_OBJECT

public:
    // text: the file's bytes; detected: what detectImportOptions found.
    CsvImportDialog(std::string text, const alborx::CsvImportOptions& detected,
                    QWidget* parent = nullptr);

    alborx::CsvImportOptions options() const;

    QComboBox* separator = nullptr;
    QCheckBox* naglowek = nullptr;
    QComboBox* kodowanie = nullptr;
    QTableWidget* podglad = nullptr;
    // For each album table column, the file column it is read from.
    std::array<QComboBox*, alborx::kColumnCount> kolumny{};

private:
    // Reads the first lines again after the separator or the encoding
    // changed, and matches the columns by their header names anew.
    void reread();
    void showPreview();

    std::string text_;
    std::vector<alborx::CsvRecord> first_;
};
