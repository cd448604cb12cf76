#include "qt/table_dialog.h"

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

class TableDialog : public QDialog {
 public:
  TableDialog(QWidget* parent, TableModel& model) : QDialog(parent), model_(model) {
    setWindowTitle(qs(model.title()));
    auto* layout = new QVBoxLayout(this);
    if (!model.filters().empty()) {
      filter_ = new QComboBox(this);
      layout->addWidget(filter_);
      connect(filter_, &QComboBox::currentIndexChanged, this, [this](int index) {
        model_.setFilter(std::size_t(std::max(0, index)));
        fill();
      });
    }
    const std::vector<std::string> columns = model.columns();
    table_ = new QTableWidget(0, int(columns.size()), this);
    QStringList captions;
    for (const std::string& column : columns) captions << qs(column);
    table_->setHorizontalHeaderLabels(captions);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->setMinimumSize(720, 400);
    layout->addWidget(table_);
    note_ = new QLabel(this);
    layout->addWidget(note_);
    auto* buttons = new QDialogButtonBox(this);
    action_ = buttons->addButton(qs(model.action()), QDialogButtonBox::ActionRole);
    QPushButton* close = buttons->addButton(qs(kCloseCaption), QDialogButtonBox::RejectRole);
    (model.actionByEnter() ? action_ : close)->setDefault(true);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(action_, &QPushButton::clicked, this, &TableDialog::act);
    resize(960, 560);
    draw();
  }

 private:
  void act() {
    for (int r = 0; r < table_->rowCount(); ++r)
      model_.setTicked(std::size_t(r), table_->item(r, 0)->checkState() == Qt::Checked);
    const int row = table_->currentRow();
    setEnabled(false);
    model_.act(row < 0 ? std::nullopt : std::optional<std::size_t>(row));
    setEnabled(true);
    draw();
  }

  void draw() {
    if (filter_ != nullptr) {
      filter_->blockSignals(true);
      filter_->clear();
      for (const std::string& name : model_.filters()) filter_->addItem(qs(name));
      filter_->setCurrentIndex(int(model_.filter()));
      filter_->blockSignals(false);
    }
    note_->setText(qs(model_.note()));
    action_->setEnabled(model_.actionAvailable());
    fill();
  }

  void fill() {
    table_->setRowCount(int(model_.rowCount()));
    for (int r = 0; r < table_->rowCount(); ++r) {
      const std::vector<std::string> cells = model_.cells(std::size_t(r));
      for (std::size_t c = 0; c < cells.size(); ++c)
        table_->setItem(r, int(c), new QTableWidgetItem(qs(cells[c])));
      QTableWidgetItem* first = table_->item(r, 0);
      if (model_.tickable(std::size_t(r))) {
        first->setFlags(first->flags() | Qt::ItemIsUserCheckable);
        first->setCheckState(model_.ticked(std::size_t(r)) ? Qt::Checked : Qt::Unchecked);
      }
    }
    table_->resizeColumnsToContents();
    if (const auto chosen = model_.chosen()) table_->selectRow(int(*chosen));
  }

  TableModel& model_;
  QComboBox* filter_ = nullptr;
  QTableWidget* table_;
  QLabel* note_;
  QPushButton* action_;
};

}  // namespace

std::unique_ptr<QDialog> NewTableDialog(QWidget* parent, TableModel& model) {
  return std::make_unique<TableDialog>(parent, model);
}

}  // namespace korvane
