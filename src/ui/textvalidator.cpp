#include "textvalidator.h"

#include "cp1250.h"
#include "qtext.h"

#include <QLineEdit>

namespace alborx::ui {

Cp1250Validator::Cp1250Validator(QLineEdit* field, int limit, ReplacementNotice onReplaced)
    : QValidator(field), limit_(limit), accepted_(field->text()), onReplaced_(std::move(onReplaced))
{
    connect(field, &QLineEdit::textChanged, this,
            [this](const QString& text) { accepted_ = text; });
}

QValidator::State Cp1250Validator::validate(QString& input, int& position) const
{
    if (!canHold(input)) {
        QStringList replaced;
        input = nearestHoldable(input, position, replaced);
        if (onReplaced_)
            onReplaced_(replaced);
    }
    // Only growing past the limit is refused, so that a longer text put in by
    // the program can still be shortened.
    if (limit_ > 0 && input.size() > limit_ && input.size() > accepted_.size())
        return Invalid;
    return Acceptable;
}

QString nearestHoldable(const QString& text, int& position, QStringList& replaced)
{
    QString result;
    result.reserve(text.size());
    int movedPosition = -1;
    for (qsizetype i = 0; i < text.size();) {
        const bool pair =
            text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate();
        const qsizetype width = pair ? 2 : 1;
        const QString original = text.mid(i, width);
        if (movedPosition < 0 && i >= position)
            movedPosition = static_cast<int>(result.size());
        if (canHold(original)) {
            result += original;
        } else {
            const char32_t character =
                pair ? QChar::surrogateToUcs4(text.at(i), text.at(i + 1)) : text.at(i).unicode();
            const QString nearest = toQt(std::string(1, nearestCp1250(character)));
            result += nearest;
            const QString change = original + QStringLiteral(" → ") + nearest;
            if (!replaced.contains(change))
                replaced.append(change);
        }
        i += width;
    }
    position = movedPosition < 0 ? static_cast<int>(result.size()) : movedPosition;
    return result;
}

void keepToCodePage(QLineEdit* field, int limit, ReplacementNotice onReplaced)
{
    field->setValidator(new Cp1250Validator(field, limit, std::move(onReplaced)));
}

} // namespace alborx::ui
