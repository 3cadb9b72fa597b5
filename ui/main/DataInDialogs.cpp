#include "ui/main/DataInDialogs.h"

#include "import/ImportFile.h"
#include "platform/qt/PlainText.h"

#include <QDateTimeEdit>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QVBoxLayout>

namespace vorn {
namespace {

QString Q(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// A dialog of a caption, a text, something to answer with, and two buttons.
QDialogButtonBox* Buttons(QDialog& dialog, const char* yes) {
    auto* box = new QDialogButtonBox(&dialog);
    QPushButton* ok = box->addButton(Q(yes), QDialogButtonBox::AcceptRole);
    box->addButton(Q("キャンセル"), QDialogButtonBox::RejectRole);
    ok->setDefault(true);
    QObject::connect(box, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(box, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    return box;
}

QLabel* PlainLabel(const std::string& text, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setText(PlainText(text));
    return label;
}

class ClickFilter : public QObject {
public:
    ClickFilter(QObject* parent, std::function<void()> clicked)
        : QObject(parent), clicked_(std::move(clicked)) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonRelease &&
            static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            clicked_();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> clicked_;
};

} // namespace

void OnClick(QWidget* widget, std::function<void()> clicked) {
    widget->installEventFilter(new ClickFilter(widget, std::move(clicked)));
    widget->setCursor(Qt::PointingHandCursor);
}

std::optional<RecordDate> DataInDialogs::askMoment(const RecordDate& shown,
                                                   const RecordDate& latest) {
    QDialog dialog(parent_);
    dialog.setObjectName(QStringLiteral("MomentDialog"));
    dialog.setWindowTitle(Q("測定日時の変更"));
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(PlainLabel("これから保存する記録の測定日時（今より前）:", &dialog));
    auto* edit = new QDateTimeEdit(&dialog);
    edit->setObjectName(QStringLiteral("MomentEdit"));
    edit->setDisplayFormat(QStringLiteral("yyyy/MM/dd HH時"));
    edit->setCalendarPopup(true);
    edit->setMaximumDateTime(
        QDateTime(QDate(latest.year, latest.month, latest.day), QTime(latest.hour, 0)));
    edit->setDateTime(QDateTime(QDate(shown.year, shown.month, shown.day), QTime(shown.hour, 0)));
    layout->addWidget(edit);
    layout->addWidget(Buttons(dialog, "OK"));
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QDateTime t = edit->dateTime();
    return RecordDate{t.date().year(), t.date().month(), t.date().day(), t.time().hour()};
}

std::optional<std::string> DataInDialogs::chooseImportFile() {
    const QString path = QFileDialog::getOpenFileName(
        parent_, Q("記録の取り込み"), QString(),
        Q("体重の記録 (*.csv *.txt *.tsv *.xml);;すべてのファイル (*)"));
    if (path.isEmpty())
        return std::nullopt;
    return path.toStdString();
}

ImportedFile DataInDialogs::readImportFile(const std::string& path) {
    QProgressDialog progress(Q("ファイルを読み込んでいます…"), Q("キャンセル"), 0, 1000, parent_);
    progress.setObjectName(QStringLiteral("ImportProgress"));
    progress.setWindowTitle(Q("記録の取り込み"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    return ReadImportFile(path, [&](std::uint64_t done, std::uint64_t total) {
        progress.setValue(total ? static_cast<int>(done * 1000 / total) : 0);
        return !progress.wasCanceled();
    });
}

std::optional<std::string> DataInDialogs::askHeight() {
    bool ok = false;
    const QString text = QInputDialog::getText(
        parent_, Q("記録の取り込み"), Q("取り込み先に記録がないため、身長(cm)を入力してください。"),
        QLineEdit::Normal, QString(), &ok);
    if (!ok)
        return std::nullopt;
    return text.toStdString();
}

bool DataInDialogs::confirmImport(const ImportPreview& preview) {
    QDialog dialog(parent_);
    dialog.setObjectName(QStringLiteral("ImportPreview"));
    dialog.setWindowTitle(Q("記録の取り込み"));
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(PlainLabel(preview.summary, &dialog));
    std::string rows = "保存する記録（先頭から）:\n";
    for (const std::string& r : preview.records)
        rows += r + "\n";
    if (!preview.leftOut.empty())
        rows += "\n取り込まない行と理由:\n";
    for (const std::string& r : preview.leftOut)
        rows += r + "\n";
    auto* list = new QPlainTextEdit(&dialog);
    list->setObjectName(QStringLiteral("ImportRows"));
    list->setReadOnly(true);
    list->setLineWrapMode(QPlainTextEdit::NoWrap);
    list->setPlainText(PlainText(rows));
    list->setMinimumSize(560, 240);
    layout->addWidget(list);
    layout->addWidget(Buttons(dialog, "取り込む"));
    return dialog.exec() == QDialog::Accepted;
}

} // namespace vorn
