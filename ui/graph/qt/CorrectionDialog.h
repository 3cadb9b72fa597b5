#pragma once

#include "ui/graph/GraphView.h"

#include <QDialog>

class QDateTimeEdit;
class QLineEdit;

namespace vorn {

// The dialog of 選択した記録を修正: the record's height, weight and fat
// percentage as typed texts (an empty fat percentage: none) and its moment
// to the hour, no later than the hour now.
class CorrectionDialog : public QDialog {
    Q_OBJECT
public:
    CorrectionDialog(const RecordCorrectionTexts& record, const RecordDate& latest,
                     QWidget* parent);

    RecordCorrectionTexts texts() const;

private:
    QLineEdit* height_;
    QLineEdit* weight_;
    QLineEdit* fat_;
    QDateTimeEdit* when_;
};

} // namespace vorn
