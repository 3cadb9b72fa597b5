#include "ui/graph/qt/CorrectionDialog.h"

#include <QDateTimeEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace vorn {
namespace {

QDateTime AsQt(const RecordDate& d) {
    return QDateTime(QDate(d.year, d.month, d.day), QTime(d.hour, 0));
}

QLineEdit* Field(const std::string& text, const char* name, QWidget* parent) {
    auto* field = new QLineEdit(QString::fromStdString(text), parent);
    field->setObjectName(QString::fromLatin1(name));
    field->setMaxLength(32);
    return field;
}

} // namespace

CorrectionDialog::CorrectionDialog(const RecordCorrectionTexts& record, const RecordDate& latest,
                                   QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("CorrectionDialog"));
    setWindowTitle(QStringLiteral("記録の修正"));
    height_ = Field(record.height, "CorrectHeight", this);
    weight_ = Field(record.weight, "CorrectWeight", this);
    fat_ = Field(record.fat, "CorrectFat", this);
    when_ = new QDateTimeEdit(AsQt(record.when), this);
    when_->setObjectName(QStringLiteral("CorrectWhen"));
    when_->setDisplayFormat(QStringLiteral("yyyy/MM/dd H時"));
    when_->setMaximumDateTime(AsQt(latest));

    auto* form = new QFormLayout(this);
    form->addRow(QStringLiteral("身長(cm)(&H):"), height_);
    form->addRow(QStringLiteral("体重(kg)(&W):"), weight_);
    form->addRow(QStringLiteral("脂肪率(%)(&F):"), fat_);
    form->addRow(QStringLiteral("測定日時(&D):"), when_);
    form->addRow(
        new QLabel(QStringLiteral("脂肪率を空にすると、脂肪率なしの記録になります。"), this));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("修正する"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

RecordCorrectionTexts CorrectionDialog::texts() const {
    const QDateTime at = when_->dateTime();
    return {height_->text().toStdString(), weight_->text().toStdString(),
            fat_->text().toStdString(),
            RecordDate{at.date().year(), at.date().month(), at.date().day(), at.time().hour()}};
}

} // namespace vorn
