#include "textvalidator.h"

#include "qtext.h"

#include <QLineEdit>

namespace alborx::ui {

Cp1250Validator::Cp1250Validator(QLineEdit* field, int limit)
    : QValidator(field), limit_(limit), accepted_(field->text())
{
    connect(field, &QLineEdit::textChanged, this,
            [this](const QString& text) { accepted_ = text; });
}

QValidator::State Cp1250Validator::validate(QString& input, int&) const
{
    if (!canHold(input))
        return Invalid;
    // Only growing past the limit is refused, so that a longer text put in by
    // the program can still be shortened.
    if (limit_ > 0 && input.size() > limit_ && input.size() > accepted_.size())
        return Invalid;
    return Acceptable;
}

void keepToCodePage(QLineEdit* field, int limit)
{
    field->setValidator(new Cp1250Validator(field, limit));
}

} // namespace alborx::ui
