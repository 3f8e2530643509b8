#include "app/PaperDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

namespace korventa {

PaperDialog::PaperDialog(const WString& printer, const std::vector<PaperChoice>& papers,
                         const WString& current, QWidget* parent)
    : QDialog(parent), papers_(papers) {
    setWindowTitle(QString::fromStdU16String(printer));
    list_ = new QListWidget(this);
    for (const auto& paper : papers_) {
        list_->addItem(QString::fromStdU16String(paper.label));
        if (paper.name == current)
            list_->setCurrentRow(list_->count() - 1);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(list_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Paper size:"), this));
    layout->addWidget(list_);
    layout->addWidget(buttons);
}

std::optional<WString> PaperDialog::chosenPaper() const {
    const int row = list_->currentRow();
    if (row < 0 || static_cast<std::size_t>(row) >= papers_.size())
        return std::nullopt;
    return papers_[static_cast<std::size_t>(row)].name;
}

}  // namespace korventa
