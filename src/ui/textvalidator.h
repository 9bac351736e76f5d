// Keeps an edit field to what the catalogue can store: characters that
// Windows-1250 cannot hold are refused as they are typed or pasted, and a
// length limit stops typing (text the program puts in may be longer).
#pragma once

#include <QValidator>

class QLineEdit;

namespace alborx::ui {

class Cp1250Validator : public QValidator
{
public:
    // limit 0: no length limit.
    Cp1250Validator(QLineEdit* field, int limit);

    State validate(QString& input, int& position) const override;

private:
    int limit_;
    // The field's text before the edit being checked: while an edit is
    // checked the field already shows its result.
    QString accepted_;
};

// Installs the validator on a line edit.
void keepToCodePage(QLineEdit* field, int limit = 0);

} // namespace alborx::ui
