#pragma once
// The menu's tables ("設定を比較・復元", "変更履歴") in one kind of dialog: the filter above the
// table when the model has one, the cells with their ticks, the line under it and the model's
// button beside "閉じる". What it shows and does is the model's (TableModel).

#include <QDialog>
#include <memory>

class QWidget;

namespace korvane {

class TableModel;

std::unique_ptr<QDialog> NewTableDialog(QWidget* parent, TableModel& model);

}  // namespace korvane
