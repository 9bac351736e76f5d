// Keeps an edit field to what the catalogue can store: a character that
// Windows-1250 cannot hold becomes its nearest as it is typed or pasted
// ("ø" as "o", else "?"), and a length limit stops typing (text the program
// puts in may be longer).
#pragma once

#include <QValidator>
#include <functional>

class QLineEdit;

namespace alborx::ui {

// Told, with "ø → o" for each character, when typing or pasting had
// characters replaced.
using ReplacementNotice = std::function<void(const QStringList&)>;

class Cp1250Validator : public QValidator
{
public:
    // limit 0: no length limit.
    Cp1250Validator(QLineEdit* field, int limit, ReplacementNotice onReplaced = {});

    State validate(QString& input, int& position) const override;

private:
    int limit_;
    // The field's text before the edit being checked: while an edit is
    // checked the field already shows its result.
    QString accepted_;
    ReplacementNotice onReplaced_;
};

// The text with every character the code page cannot hold replaced by its
// nearest, position moved with it; replaced lists "ø → o" for each
// distinct character.
QString nearestHoldable(const QString& text, int& position, QStringList& replaced);

// Installs the validator on a line edit.
void keepToCodePage(QLineEdit* field, int limit = 0, ReplacementNotice onReplaced = {});

} // namespace alborx::ui
