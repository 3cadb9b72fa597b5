#pragma once

#include <QLineEdit>

namespace vorn {

// An input field for numbers. An input method switched on would compose
// full-width digits, which no number conversion reads: this field tells the
// input method that it takes none, so keys arrive as typed. Pasted text is
// taken as it is, and a full-width one is refused by the conversion.
class NumberEdit : public QLineEdit {
public:
    explicit NumberEdit(QWidget* parent) : QLineEdit(parent) {
        setAttribute(Qt::WA_InputMethodEnabled, false);
        setInputMethodHints(Qt::ImhFormattedNumbersOnly | Qt::ImhNoPredictiveText);
    }
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override {
        // QLineEdit answers "enabled" whatever the attribute says.
        if (query == Qt::ImEnabled)
            return false;
        return QLineEdit::inputMethodQuery(query);
    }
};

} // namespace vorn
