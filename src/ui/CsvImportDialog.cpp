#include "CsvImportDialog.h"

#include "qtext.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

// Lines of the file shown in the preview.
constexpr std::size_t kPreviewRecords = 8;

constexpr std::array<char, 3> kSeparators = {';', ',', '\t'};

const char* const kFieldNames[alborx::kImportFieldCount] = {
    "ID",    "Wykonawca",    "Album",  "Gatunek", "CD",        "MC",
    "ID CD", "ID MC",        "Nośnik", "Rok",     "Wytwórnia", "Numer katalogowy",
    "Kraj",  "Kod kreskowy", "Uwagi"};
// Field boxes in each column of the group.
constexpr int kFieldRows = 5;
// Longer texts are shown cut, so that no field of the file can swell the
// preview.
constexpr int kShownCharacters = 100;

QString shownText(const std::string& field, alborx::CsvEncoding encoding)
{
    int replaced = 0;
    QString text = alborx::ui::toQt(alborx::toCatalogueText(
        std::string_view(field).substr(0, 4 * kShownCharacters), encoding, replaced));
    if (text.size() > kShownCharacters || field.size() > 4 * kShownCharacters)
        text = text.left(kShownCharacters) + QChar(0x2026);
    return text;
}

} // namespace

CsvImportDialog::CsvImportDialog(std::string_view text, const alborx::CsvImportOptions& detected,
                                 QWidget* parent)
    : QDialog(parent), text_(alborx::csvSample(text)), cut_(text_.size() < text.size())
{
    setObjectName(QStringLiteral("CsvImportDialog"));
    setWindowTitle(QStringLiteral("Importuj z CSV"));

    separator = new QComboBox;
    separator->setObjectName(QStringLiteral("separator"));
    separator->addItems({QStringLiteral("Średnik (;)"), QStringLiteral("Przecinek (,)"),
                         QStringLiteral("Tabulator")});
    separator->setCurrentIndex(
        static_cast<int>(std::find(kSeparators.begin(), kSeparators.end(), detected.separator) -
                         kSeparators.begin()));
    kodowanie = new QComboBox;
    kodowanie->setObjectName(QStringLiteral("kodowanie"));
    kodowanie->addItems({QStringLiteral("UTF-8"), QStringLiteral("Windows-1250")});
    kodowanie->setCurrentIndex(detected.encoding == alborx::CsvEncoding::Utf8 ? 0 : 1);
    naglowek = new QCheckBox(QStringLiteral("Pierwszy wiersz to nagłówek"));
    naglowek->setObjectName(QStringLiteral("naglowek"));

    auto* format = new QFormLayout;
    auto* separatorLabel = new QLabel(QStringLiteral("&Separator:"));
    separatorLabel->setBuddy(separator);
    separator->setAccessibleName(QStringLiteral("Separator"));
    auto* encodingLabel = new QLabel(QStringLiteral("&Kodowanie:"));
    encodingLabel->setBuddy(kodowanie);
    kodowanie->setAccessibleName(QStringLiteral("Kodowanie"));
    format->addRow(separatorLabel, separator);
    format->addRow(encodingLabel, kodowanie);
    format->addRow(naglowek);

    podglad = new QTableWidget;
    podglad->setObjectName(QStringLiteral("podglad"));
    podglad->setAccessibleName(QStringLiteral("Podgląd pliku"));
    podglad->setEditTriggers(QAbstractItemView::NoEditTriggers);
    podglad->verticalHeader()->setDefaultSectionSize(18);
    podglad->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    podglad->setMinimumSize(520, 170);

    auto* columns = new QGroupBox(QStringLiteral("Pola albumu z kolumn pliku"));
    auto* grid = new QGridLayout(columns);
    for (int c = 0; c < alborx::kImportFieldCount; ++c) {
        auto* box = new QComboBox;
        box->setObjectName(QStringLiteral("kolumna%1").arg(c));
        auto* label = new QLabel(QString::fromUtf8(kFieldNames[c]) + QLatin1Char(':'));
        label->setBuddy(box);
        box->setAccessibleName(QString::fromUtf8(kFieldNames[c]));
        grid->addWidget(label, c % kFieldRows, (c / kFieldRows) * 2);
        grid->addWidget(box, c % kFieldRows, (c / kFieldRows) * 2 + 1);
        kolumny[static_cast<std::size_t>(c)] = box;
    }

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Importuj"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Anuluj"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(format);
    layout->addWidget(new QLabel(QStringLiteral("Pierwsze wiersze pliku:")));
    layout->addWidget(podglad);
    layout->addWidget(columns);
    layout->addWidget(buttons);

    // The columns are matched on the first line as the detection matched them.
    reread();

    connect(separator, &QComboBox::currentIndexChanged, this, &CsvImportDialog::reread);
    connect(kodowanie, &QComboBox::currentIndexChanged, this, &CsvImportDialog::reread);
    connect(naglowek, &QCheckBox::toggled, this, &CsvImportDialog::showPreview);
}

alborx::CsvImportOptions CsvImportDialog::options() const
{
    alborx::CsvImportOptions chosen;
    chosen.separator =
        kSeparators[static_cast<std::size_t>(std::max(0, separator->currentIndex()))];
    chosen.encoding = kodowanie->currentIndex() == 0 ? alborx::CsvEncoding::Utf8
                                                     : alborx::CsvEncoding::Windows1250;
    chosen.header = naglowek->isChecked();
    chosen.tellico = tellico_ && chosen.header;
    for (int c = 0; c < alborx::kImportFieldCount; ++c)
        chosen.columns[static_cast<std::size_t>(c)] =
            kolumny[static_cast<std::size_t>(c)]->currentIndex() - 1;
    return chosen;
}

void CsvImportDialog::reread()
{
    alborx::CsvImportOptions chosen = options();
    first_ = alborx::parseCsv(alborx::withoutByteOrderMark(text_), chosen.separator,
                              kPreviewRecords + 1, cut_);
    std::size_t width = 0;
    for (const alborx::CsvRecord& record : first_)
        width = std::max(width, record.fields.size());
    if (!first_.empty())
        alborx::matchColumns(first_.front(), chosen);
    tellico_ = chosen.tellico;

    // The columns offered: each by its header text, or its first value.
    QStringList offered{QStringLiteral("(pomiń)")};
    for (std::size_t i = 0; i < width; ++i) {
        QString name;
        if (i < first_.front().fields.size())
            name = shownText(first_.front().fields[i], chosen.encoding);
        offered << QStringLiteral("Kolumna %1: %2").arg(i + 1).arg(name);
    }
    for (int c = 0; c < alborx::kImportFieldCount; ++c) {
        QComboBox* box = kolumny[static_cast<std::size_t>(c)];
        const QSignalBlocker quiet(box);
        box->clear();
        box->addItems(offered);
        box->setCurrentIndex(chosen.columns[static_cast<std::size_t>(c)] + 1);
    }
    {
        const QSignalBlocker quiet(naglowek);
        naglowek->setChecked(chosen.header);
    }
    showPreview();
}

void CsvImportDialog::showPreview()
{
    const alborx::CsvImportOptions chosen = options();
    std::size_t width = 0;
    for (const alborx::CsvRecord& record : first_)
        width = std::max(width, record.fields.size());
    const std::size_t skip = chosen.header && !first_.empty() ? 1 : 0;
    const std::size_t shown =
        std::min(kPreviewRecords, first_.size() - std::min(skip, first_.size()));

    podglad->clear();
    podglad->setColumnCount(static_cast<int>(width));
    podglad->setRowCount(static_cast<int>(shown));
    QStringList headers;
    for (std::size_t i = 0; i < width; ++i) {
        QString title = QStringLiteral("Kolumna %1").arg(i + 1);
        if (skip && i < first_.front().fields.size())
            title = shownText(first_.front().fields[i], chosen.encoding);
        headers << title;
    }
    podglad->setHorizontalHeaderLabels(headers);
    for (std::size_t r = 0; r < shown; ++r) {
        const alborx::CsvRecord& record = first_[skip + r];
        if (record.broken) {
            podglad->setItem(static_cast<int>(r), 0,
                             new QTableWidgetItem(QStringLiteral("(niezamknięty cudzysłów)")));
            continue;
        }
        for (std::size_t i = 0; i < record.fields.size(); ++i)
            podglad->setItem(static_cast<int>(r), static_cast<int>(i),
                             new QTableWidgetItem(shownText(record.fields[i], chosen.encoding)));
    }
}
