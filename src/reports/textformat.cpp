#include "textformat.h"

#include "cp1250.h"

#include <utility>

namespace alborx {

namespace {

std::string w1250(std::string_view utf8)
{
    return utf8ToCp1250(utf8).value_or(std::string(utf8));
}

} // namespace

const std::array<FormatPreset, 6>& formatPresets()
{
    static const std::array<FormatPreset, 6> presets = {
        FormatPreset{w1250("Prosta lista z podziałem CD/MC"),
                     "%nr:3. %zespol - %tytul (%gatunek) [%kopiacds]",
                     "%nr:3. %zespol - %tytul (%gatunek) [%kopiamcs]", 0},
        FormatPreset{w1250("Tabela z podziałem CD/MC"),
                     "|%nr:4|%zespol;30|%tytul;40|%gatunek;16|CD:%kopiacds|",
                     "|%nr:4|%zespol;30|%tytul;40|%gatunek;16|MC:%kopiamcs|", 0},
        FormatPreset{w1250("Pełny opis z podziałem CD/MC"),
                     "%nr.\\n   %zespol: \"%tytul\"\\n   Gatunek: %gatunek\\n   CD: %kopiacd "
                     "ID:%idcd\\n   ID albumu: %id",
                     "%nr.\\n   %zespol: \"%tytul\"\\n   Gatunek: %gatunek\\n   MC: %kopiamc "
                     "ID:%idmc\\n   ID albumu: %id",
                     0},
        FormatPreset{w1250("Prosta lista bez podziału"),
                     "%nr:3. %zespol - %tytul (%gatunek) [CD:%kopiacds] [MC:%kopiamcs]", "", 2},
        FormatPreset{w1250("Tabela bez podziału"),
                     "|%nr:4|%zespol;30|%tytul;40|%gatunek;16|CD:%kopiacds|MC:%kopiamcs|", "", 2},
        FormatPreset{w1250("Pełny opis bez podziału"),
                     w1250("%nr.\\n   %zespol: \"%tytul\"\\n   Gatunek: %gatunek\\n   Nośnik: [CD "
                           "%kopiacd ID:%idcd] [MC %kopiamc ID:%idmc]\\n   ID albumu: %id"),
                     "", 2},
    };
    return presets;
}

std::string zamianacm(std::string_view szablon)
{
    static constexpr std::pair<std::string_view, std::string_view> kPairs[] = {
        {"%idcd", "%idmc"},         {"%idmc", "%idcd"},       {"%kopiacds", "%kopiamcs"},
        {"%kopiamcs", "%kopiacds"}, {"%kopiacd", "%kopiamc"}, {"%kopiamc", "%kopiacd"},
    };
    std::string working(szablon);
    for (const auto& [searched, replacement] : kPairs) {
        const std::size_t at = szablon.find(searched);
        if (at != std::string_view::npos)
            working.replace(at, searched.size(), replacement);
    }
    return working;
}

const std::array<KeywordHelp, 12>& keywordList()
{
    static const std::array<KeywordHelp, 12> list = {
        KeywordHelp{"%nr", "numer albumu"},
        KeywordHelp{"%tytul", w1250("tytuł albumu")},
        KeywordHelp{"%zespol", w1250("nazwa zespołu")},
        KeywordHelp{"%gatunek", "gatunek muzyki"},
        KeywordHelp{"%id", "numer ID albumu"},
        KeywordHelp{"%idcd", w1250("numer ID płyty CD")},
        KeywordHelp{"%idmc", "numer ID kasety MC"},
        KeywordHelp{"%kopiacd", w1250("rodzaj kopii płyty CD")},
        KeywordHelp{"%kopiamc", "rodzaj kopii kasety MC"},
        KeywordHelp{"%kopiacds", w1250("rodzaj kopii płyty CD (skrót jednoliterowy)")},
        KeywordHelp{"%kopiamcs", w1250("rodzaj kopii kasety MC (skrót jednoliterowy)")},
        KeywordHelp{"\\n", w1250("przejście do następnej linii")},
    };
    return list;
}

} // namespace alborx
