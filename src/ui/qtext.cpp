#include "qtext.h"

#include "cp1250.h"

namespace alborx::ui {

QString toQt(std::string_view cp1250)
{
    QString text(static_cast<qsizetype>(cp1250.size()), Qt::Uninitialized);
    QChar* out = text.data();
    for (char byte : cp1250)
        *out++ = QChar(static_cast<char16_t>(cp1250ToUnicode(static_cast<unsigned char>(byte))));
    return text;
}

namespace {

template <typename OnMissing>
bool convert(const QString& text, std::string& out, OnMissing onMissing)
{
    out.clear();
    out.reserve(static_cast<std::size_t>(text.size()));
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char32_t c = text.at(i).unicode();
        // Surrogates stand for characters beyond the code page anyway.
        const auto byte = (c >= 0xD800 && c <= 0xDFFF) ? std::nullopt : unicodeToCp1250(c);
        if (byte) {
            out.push_back(static_cast<char>(*byte));
        } else {
            if (!onMissing(out))
                return false;
            if (text.at(i).isHighSurrogate() && i + 1 < text.size() &&
                text.at(i + 1).isLowSurrogate())
                ++i;
        }
    }
    return true;
}

} // namespace

std::optional<std::string> fromQt(const QString& text)
{
    std::string out;
    if (!convert(text, out, [](std::string&) { return false; }))
        return std::nullopt;
    return out;
}

std::string fromQtLossy(const QString& text)
{
    std::string out;
    convert(text, out, [](std::string& o) {
        o.push_back('?');
        return true;
    });
    return out;
}

bool canHold(const QString& text)
{
    return fromQt(text).has_value();
}

} // namespace alborx::ui
