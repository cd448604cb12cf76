#include "qt/journal_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/menu_flows.h"
#include "qt/text.h"
#include "window/texts.h"

namespace korvane {

namespace {

class JournalDialog : public QDialog {
 public:
  JournalDialog(QWidget* parent, JournalView& view) : QDialog(parent), view_(view) {
    setWindowTitle(qs(kJournalTitle));
    auto* layout = new QVBoxLayout(this);
    filter_ = new QComboBox(this);
    filter_->setObjectName("journalFilter");
    layout->addWidget(filter_);
    table_ = new QTableWidget(0, int(kJournalFields), this);
    table_->setObjectName("journalTable");
    QStringList columns;
    for (const std::string& column : JournalColumns()) columns << qs(column);
    table_->setHorizontalHeaderLabels(columns);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(table_);
    skipped_ = new QLabel(this);
    layout->addWidget(skipped_);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* undo = buttons->addButton(qs(kUndoCaption), QDialogButtonBox::ActionRole);
    buttons->addButton(qs(kCloseCaption), QDialogButtonBox::RejectRole);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(undo, &QPushButton::clicked, this, [this] {
      const int row = table_->currentRow();
      setEnabled(false);
      view_.undo(row < 0 ? std::nullopt : std::optional<std::size_t>(row));
      setEnabled(true);
      draw();
    });
    connect(filter_, &QComboBox::currentIndexChanged, this, [this](int index) {
      view_.setFilter(std::size_t(std::max(0, index)));
      fill();
    });
    resize(960, 480);
    draw();
  }

 private:
  void draw() {
    filter_->blockSignals(true);
    filter_->clear();
    for (const std::string& name : view_.filters()) filter_->addItem(qs(name));
    filter_->setCurrentIndex(int(view_.filter()));
    filter_->blockSignals(false);
    skipped_->setText(qs(view_.skippedText()));
    fill();
  }

  void fill() {
    table_->setRowCount(int(view_.rowCount()));
    for (int r = 0; r < table_->rowCount(); ++r) {
      const auto cells = view_.cells(std::size_t(r));
      for (std::size_t c = 0; c < cells.size(); ++c)
        table_->setItem(r, int(c), new QTableWidgetItem(qs(cells[c])));
    }
    table_->resizeColumnsToContents();
    if (const auto chosen = view_.chosen()) table_->selectRow(int(*chosen));
  }

  JournalView& view_;
  QComboBox* filter_;
  QTableWidget* table_;
  QLabel* skipped_;
};

}  // namespace

std::unique_ptr<QDialog> NewJournalDialog(QWidget* parent, JournalView& view) {
  return std::make_unique<JournalDialog>(parent, view);
}

}  // namespace korvane
