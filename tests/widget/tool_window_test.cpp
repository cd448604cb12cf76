// The program's window: the menu bar above an unchanged client area, its entries with their
// shortcuts reaching the handlers, and a disabled client (the send phase, a restore) taking the
// menu with it.

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "ui/tool_window.h"
#include "widget_support.h"

namespace korvane::test {
namespace {

TEST(ToolWindowTest, TheMenuSitsAboveTheUnchangedClientAreaAndReachesItsHandlers) {
  ToolWindow tool;
  std::vector<std::string> events;
  tool.setMenuHandlers({[&] { events.push_back("backup"); }, [&] { events.push_back("compare"); }});
  tool.client().setHandlers({{}, {}, {}, [&] { events.push_back("unload"); }});
  tool.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&tool));
  EXPECT_EQ(tool.client().size(), QSize(925, 568));
  EXPECT_EQ(tool.client().y(), tool.menuBar()->height());

  const QList<QAction*> menus = tool.menuBar()->actions();
  ASSERT_EQ(menus.size(), 1);
  EXPECT_EQ(menus[0]->text(), QStringLiteral("ファイル"));
  std::vector<std::pair<QString, QKeySequence>> entries;
  for (QAction* entry : menus[0]->menu()->actions()) {
    if (!entry->isSeparator()) entries.emplace_back(entry->text(), entry->shortcut());
  }
  const std::vector<std::pair<QString, QKeySequence>> want{
      {QStringLiteral("設定をバックアップ..."), QKeySequence(QKeySequence::Save)},
      {QStringLiteral("設定を比較・復元..."), QKeySequence(QKeySequence::Open)},
      {QStringLiteral("終了"), QKeySequence(QKeySequence::Quit)}};
  EXPECT_EQ(entries, want);

  tool.client().setEnabled("Form1", false);
  EXPECT_FALSE(tool.menuBar()->isEnabled());
  tool.client().setEnabled("Form1", true);
  for (QAction* entry : menus[0]->menu()->actions()) entry->trigger();
  EXPECT_EQ(events, (std::vector<std::string>{"backup", "compare", "unload"}));
  EXPECT_FALSE(tool.isVisible());
}

}  // namespace
}  // namespace korvane::test
