#include "textexport.h"

#include "copykinds.h"
#include "cp1250.h"
#include "linetemplate.h"
#include "safefile.h"
#include "summary.h"
#include "textfunctions.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace alborx {

namespace {

constexpr int kExportStep = 8;

// Texts of the file, written here in UTF-8 and stored in Windows-1250.
std::string w1250(std::string_view utf8)
{
    return utf8ToCp1250(utf8).value_or(std::string(utf8));
}

enum class Pass
{
    Cd,
    Mc,
    Mixed
};

// Reports positions of a later stage of the export on the same gauge.
class ShiftedProgress : public Progress
{
public:
    ShiftedProgress(Progress* inner, int offset) : inner_(inner), offset_(offset) {}
    void setMaximum(int) override {}
    void setPosition(int position) override
    {
        if (inner_)
            inner_->setPosition(offset_ + position);
    }

private:
    Progress* inner_;
    int offset_;
};

TemplateValues valuesOf(const RowView& row, int number, int cd, int mc)
{
    return {l2t(number, 0),
            std::string(row[ColumnTitle]),
            std::string(row[ColumnPerformer]),
            std::string(row[ColumnGenre]),
            std::string(row[ColumnCdId]),
            std::string(row[ColumnMcId]),
            std::string(row[ColumnId]),
            std::string(copyKindLetter(cd)),
            std::string(copyKindLetter(mc)),
            std::string(copyKindWord(cd)),
            std::string(copyKindWord(mc))};
}

std::string kindLine(std::string_view caption, std::int32_t cd, std::int32_t mc)
{
    return w1250(caption) + l2t(cd + mc, 0) + " (" + l2t(cd, 0) + " CD, " + l2t(mc, 0) + " MC)";
}

std::string twoDigits(int value)
{
    return l2t(value, 2);
}

} // namespace

int exportProgressMaximum(int albums, const TUstawienia& settings)
{
    const int passes = settings.kolejnosc == 2 ? 1 : 2;
    const int maximum = passes * (albums - 1) + (settings.podsumowanie ? albums : 0);
    return std::max(0, maximum);
}

bool zapiszpliktekstowy(const AlbumTable& table, const TUstawienia& settings,
                        const ExportTime& time, const MonthNames& months, const TextSink& sink,
                        Progress* progress)
{
    const int albums = std::max(0, std::min<int>(table.liczbaalbumow(), table.rowCount() - 1));
    if (progress)
        progress->setMaximum(exportProgressMaximum(albums, settings));

    std::vector<Pass> passes;
    if (settings.kolejnosc == 2)
        passes = {Pass::Mixed};
    else if (settings.kolejnosc == 1)
        passes = {Pass::Mc, Pass::Cd};
    else
        passes = {Pass::Cd, Pass::Mc};

    bool written = true;
    const auto line = [&](std::string_view text) {
        written = written && sink(text) && sink("\r\n");
    };
    int position = 0;
    for (std::size_t p = 0; p < passes.size(); ++p) {
        const Pass pass = passes[p];
        if (pass != Pass::Mixed) {
            if (p > 0)
                line("");
            line(w1250(pass == Pass::Cd ? "Płyty CD:" : "Kasety:"));
        }
        const std::string& szablon = pass == Pass::Mc ? settings.formatmc : settings.formatcd;
        int counter = 0;
        for (int r = 1; r <= albums && written; ++r) {
            const RowView row = table.row(r);
            const int cd = selectedCopyKind(row[ColumnCdKind], settings.wypiszcd);
            const int mc = selectedCopyKind(row[ColumnMcKind], settings.wypiszmc);
            const bool written = pass == Pass::Cd   ? cd != 0
                                 : pass == Pass::Mc ? mc != 0
                                                    : (cd != 0 || mc != 0);
            if (written) {
                line(wypelnijformat(szablon, valuesOf(row, counter + 1, cd, mc),
                                    TemplateMode::File));
                ++counter;
            }
            if (r % kExportStep == 0) {
                position += kExportStep;
                if (progress)
                    progress->setPosition(position);
            }
        }
    }

    if (settings.podsumowanie) {
        ShiftedProgress summaryProgress(progress, position);
        const TPodsumowanie s =
            obliczpodsumowanie(table, settings.wypiszcd, settings.wypiszmc, &summaryProgress);
        line("");
        line(std::string(36, '-'));
        line("Podsumowanie:");
        line(w1250("Albumów: ") + l2t(s.albumy, 0));
        line(w1250("Płyt CD: ") + l2t(s.plyty, 0));
        line("Kaset: " + l2t(s.kasety, 0));
        line(w1250("Tych samych albumów na CD i MC: ") + l2t(s.tesame, 0));
        line(kindLine("Oryginałów: ", s.rodzajecd[1], s.rodzajemc[1]));
        line(kindLine("Piratów: ", s.rodzajecd[2], s.rodzajemc[2]));
        line(kindLine("Kopii: ", s.rodzajecd[3], s.rodzajemc[3]));
        line(kindLine("Zgrywanych z MP3: ", s.rodzajecd[4], s.rodzajemc[4]));
    }

    line("");
    line(w1250("Spis utworzony przez program ALBORX! - wolny katalog płyt i kaset, "
               "zespół programistów ALBORX!"));
    const std::string& month = months[static_cast<std::size_t>(std::clamp(time.month, 1, 12) - 1)];
    line("Czas zapisu: " + l2t(time.day, 0) + "." + month + "." + l2t(time.year, 4) + ". " +
         twoDigits(time.hour) + ":" + twoDigits(time.minute) + ":" + twoDigits(time.second));
    line("");
    return written;
}

std::string exportText(const AlbumTable& table, const TUstawienia& settings, const ExportTime& time,
                       const MonthNames& months)
{
    std::string text;
    zapiszpliktekstowy(table, settings, time, months, [&text](std::string_view piece) {
        text += piece;
        return true;
    });
    return text;
}

namespace {

// Opens file for path; when appending, the file's present text goes first.
bool startTextFile(SafeFileWriter& file, const std::string& path, bool append)
{
    struct stat info
    {
    };
    const bool exists = ::stat(path.c_str(), &info) == 0;
    if (!file.ok())
        return false;
    if (!append || !exists)
        return true;
    // Appending writes the old text and the new one to a new file that then
    // replaces the old, so that a failure in the middle loses nothing.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    std::vector<char> buffer(1 << 16);
    bool ok = true;
    for (;;) {
        const ssize_t got = ::read(fd, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            ok = got == 0;
            break;
        }
        if (!file.write(buffer.data(), static_cast<std::size_t>(got))) {
            ok = false;
            break;
        }
    }
    ::close(fd);
    return ok;
}

} // namespace

bool writeTextExport(const std::string& path, const AlbumTable& table, const TUstawienia& settings,
                     const ExportTime& time, const MonthNames& months, Progress* progress)
{
    SafeFileWriter file(path);
    if (!startTextFile(file, path, settings.dolaczaj))
        return false;
    const bool written = zapiszpliktekstowy(
        table, settings, time, months,
        [&file](std::string_view piece) { return file.write(piece.data(), piece.size()); },
        progress);
    return written && file.commit();
}

bool writeTextFile(const std::string& path, const std::string& text, bool append)
{
    SafeFileWriter file(path);
    return startTextFile(file, path, append) && file.write(text.data(), text.size()) &&
           file.commit();
}

} // namespace alborx
