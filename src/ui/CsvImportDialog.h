// The dialog of "Importuj z CSV…": shows the first lines of the file as a
// table and lets the user choose the separator, whether the first line is a
// header, the encoding and which file column goes to which album field,
// the medium among them.
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
    // text: the file's bytes, of which the dialog keeps and shows the
    // beginning (csvSample); detected: what detectImportOptions found.
    CsvImportDialog(std::string_view text, const alborx::CsvImportOptions& detected,
                    QWidget* parent = nullptr);

    alborx::CsvImportOptions options() const;

    QComboBox* separator = nullptr;
    QCheckBox* naglowek = nullptr;
    QComboBox* kodowanie = nullptr;
    QTableWidget* podglad = nullptr;
    // For each import field (the album table columns, then "Nośnik"), the
    // file column it is read from.
    std::array<QComboBox*, alborx::kImportFieldCount> kolumny{};

private:
    // Reads the first lines again after the separator or the encoding
    // changed, and matches the columns by their header names anew.
    void reread();
    void showPreview();

    std::string text_;
    // The file goes on beyond text_.
    bool cut_ = false;
    std::vector<alborx::CsvRecord> first_;
    // The file is Tellico's export, known by its header.
    bool tellico_ = false;
};
