// Undo and redo against the plain truth: a fresh editor that makes only the
// steps still in effect.
#include <iterator>
#include <random>
#include <tuple>

#include "editor/world_map.h"
#include "editor_fixture.h"
#include "support/live_heap.h"

namespace ws::editor::testing {
namespace {

using ws::testing::liveHeapBytes;

// The fields of a used slot that mean something: the chosen objects only up
// to objectCount (the arrays keep older entries beyond it).
auto slotFields(const world::AreaSlot& s) {
  const auto count = static_cast<std::ptrdiff_t>(s.objectCount);
  return std::tuple(s.used, s.areaNumber, s.x, s.y, s.width, s.height, s.kind, s.specialId,
                    s.specialX, s.specialY,
                    std::vector<std::uint8_t>(s.objectIds.begin(), s.objectIds.begin() + count),
                    std::vector<std::int16_t>(s.objectX.begin(), s.objectX.begin() + count),
                    std::vector<std::int16_t>(s.objectY.begin(), s.objectY.begin() + count));
}

// One user action of the random sessions. A click chooses a kind and an
// area, toggles some check marks and clicks the world map (placing, being
// refused or removing); a load selects a kind (the user's, before the load)
// and loads a file.
struct Action {
  enum Type { Click, Load, Undo, Redo } type = Click;
  AreaKind kind = AreaKind::LinkGate;
  int area = 0;
  std::vector<int> toggles;
  int x = 0;
  int y = 0;
  fs::path file;
};

void perform(DemoEditor& e, const Action& action) {
  switch (action.type) {
    case Action::Click: {
      e.model.selectKind(action.kind);
      e.choose(action.area);
      const CheckList list = e.model.RadioButtons().selected == AreaKind::Town
                                 ? CheckList::Houses
                                 : CheckList::Dungeons;
      for (const int item : action.toggles)
        e.model.toggleCheck(list, item);
      e.clickAt(action.x, action.y);
      break;
    }
    case Action::Load:
      e.model.selectKind(action.kind);
      e.model.loadFile(action.file);
      break;
    case Action::Undo:
      e.model.undo();
      break;
    case Action::Redo:
      e.model.redo();
      break;
  }
}

// How many steps Undo can take back, counted on a copy of the model.
std::size_t undoDepth(const EditorModel& model) {
  EditorModel copy = model;
  std::size_t depth = 0;
  for (; copy.canUndo(); ++depth)
    copy.undo();
  return depth;
}

// Areas whose files the editor reads: links, fields, towns, small and large.
constexpr std::array kAreas{kGateOfBeginnings, kStarGate,   kBlueForest,  kMeadow,
                            kWindHill,         kMistMarsh,  kHarbourTown, kForestVillage,
                            kHamlet,           kChurchHill, kLakeIsland,  kMoonTemple};

class UndoRedoTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    const fs::path folder = freshFolder("undo-saves");
    // Two worlds saved by the editor, and a file that is no save.
    {
      DemoEditor e;
      e.place(AreaKind::LinkGate, kGateOfBeginnings, 0, 0);
      e.place(AreaKind::Town, kHarbourTown, 128, 64);
      e.place(AreaKind::Field, kBlueForest, 320, 160);
      e.dialogs.saveAnswers.push_back(folder / "a.dat");
      e.model.Button2Click();
    }
    {
      DemoEditor e;
      e.place(AreaKind::Field, kWindHill, 480, 0);
      e.place(AreaKind::LinkGate, kMoonTemple, 64, 192);
      e.dialogs.saveAnswers.push_back(folder / "b.dat");
      e.model.Button2Click();
    }
    writeFile(folder / "junk.dat", std::vector<std::uint8_t>(200, 0x41));
    files_ = {folder / "a.dat", folder / "b.dat", folder / "junk.dat"};
  }

  Action randomAction(std::mt19937& random, const EditorModel& model) {
    auto below = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
    Action action;
    const int roll = below(20);
    if (roll < 3) {
      action.type = Action::Undo;
    } else if (roll < 5) {
      action.type = Action::Redo;
    } else if (roll < 7) {
      action.type = Action::Load;
      action.kind = model.RadioButtons().selected;
      action.file = files_[static_cast<std::size_t>(below(static_cast<int>(files_.size())))];
    } else {
      action.type = Action::Click;
      // The kinds the user can click now.
      std::vector<AreaKind> kinds;
      for (const AreaKind k : {AreaKind::LinkGate, AreaKind::Field, AreaKind::Town}) {
        if (model.RadioButtons().isEnabled(k)) kinds.push_back(k);
      }
      action.kind = kinds[static_cast<std::size_t>(below(static_cast<int>(kinds.size())))];
      action.area = kAreas[static_cast<std::size_t>(below(static_cast<int>(kAreas.size())))];
      for (int t = below(3); t > 0; --t)
        action.toggles.push_back(below(6));
      // A third of the clicks aim at a placed area, to remove it.
      std::vector<const world::AreaSlot*> used;
      model.areaSlots().forEachUsed([&](int, const world::AreaSlot& s) { used.push_back(&s); });
      if (!used.empty() && below(3) == 0) {
        const world::AreaSlot& target =
            *used[static_cast<std::size_t>(below(static_cast<int>(used.size())))];
        action.x = target.x;
        action.y = target.y;
      } else {
        action.x = below(world::kWorldMapWidth);
        action.y = below(world::kWorldMapHeight);
      }
    }
    return action;
  }

  static std::vector<fs::path> files_;
};

std::vector<fs::path> UndoRedoTest::files_;

// The world of `edited` against a fresh editor that made `steps` alone: the
// slots, the placed-areas list, the kind buttons, and the world map, shown
// with the outline of edited's cursor where that cursor is now.
void expectSameWorld(const EditorModel& edited, const std::vector<Action>& steps,
                     const std::string& context) {
  DemoEditor fresh;
  for (const Action& step : steps)
    perform(fresh, step);
  for (int i = 0; i < world::kSlotCount; ++i) {
    ASSERT_EQ(edited.areaSlots()[i].used, fresh.model.areaSlots()[i].used) << context << i;
    if (edited.areaSlots()[i].used) {
      EXPECT_TRUE(slotFields(edited.areaSlots()[i]) == slotFields(fresh.model.areaSlots()[i]))
          << context << " slot " << i;
    }
  }
  EXPECT_EQ(edited.ListBox2().items, fresh.model.ListBox2().items) << context;
  EXPECT_EQ(edited.RadioButtons().selected, fresh.model.RadioButtons().selected) << context;
  EXPECT_EQ(edited.RadioButtons().enabled, fresh.model.RadioButtons().enabled) << context;
  canvas::Canvas expected = fresh.model.worldPictureCanvas();
  drawCursorOutline(expected, edited.cursor());
  EXPECT_TRUE(samePixels(edited.Image2(), expected)) << context;
}

TEST_F(UndoRedoTest, RandomSessionsMatchAFreshEditorMakingOnlyTheStepsInEffect) {
  const fs::path out = freshFolder("undo-out");
  for (unsigned seed = 1; seed <= 6; ++seed) {
    std::mt19937 random(seed);
    DemoEditor e;
    std::vector<Action> stack;  // the steps made, undone ones above `inEffect`
    std::size_t inEffect = 0;
    for (int n = 0; n < 32; ++n) {
      const Action action = randomAction(random, e.model);
      const bool couldUndo = e.model.canUndo();
      const bool couldRedo = e.model.canRedo();
      perform(e, action);
      const std::string context = "seed " + std::to_string(seed) + " action " + std::to_string(n);
      // A new step is one more for Undo to take back (far below the
      // history's limit here); a refused click or load adds none.
      const bool isStep = action.type != Action::Undo && action.type != Action::Redo &&
                          undoDepth(e.model) == inEffect + 1;
      if (isStep) {
        stack.resize(inEffect);
        stack.push_back(action);
        ++inEffect;
        EXPECT_FALSE(e.model.canRedo()) << context;
        EXPECT_EQ(e.model.isModified(), action.type != Action::Load) << context;
      } else if (action.type == Action::Undo && couldUndo) {
        --inEffect;
      } else if (action.type == Action::Redo && couldRedo) {
        ++inEffect;
      } else {
        continue;  // nothing happened to the world: refused or not a step
      }
      ASSERT_EQ(e.model.canUndo(), inEffect > 0) << context;
      ASSERT_EQ(e.model.canRedo(), inEffect < stack.size()) << context;
      if (action.type == Action::Undo || action.type == Action::Redo) {
        EXPECT_TRUE(e.model.isModified()) << context;
      }
      expectSameWorld(e.model, {stack.begin(), stack.begin() + static_cast<long>(inEffect)},
                      context);
      if (HasFatalFailure()) return;
    }

    // Saving now writes what the fresh editor writes.
    DemoEditor fresh;
    for (std::size_t i = 0; i < inEffect; ++i)
      perform(fresh, stack[i]);
    const fs::path edited = out / ("edited" + std::to_string(seed) + ".dat");
    const fs::path replayed = out / ("replayed" + std::to_string(seed) + ".dat");
    e.dialogs.saveAnswers = {edited};
    fresh.dialogs.saveAnswers = {replayed};
    e.dialogs.messages.clear();
    fresh.dialogs.messages.clear();
    e.model.Button2Click();
    fresh.model.Button2Click();
    EXPECT_EQ(e.dialogs.messages, fresh.dialogs.messages) << seed;
    EXPECT_EQ(fs::exists(edited), fs::exists(replayed)) << seed;
    EXPECT_EQ(readBytes(edited), readBytes(replayed)) << seed;
  }
}

TEST(UndoHistoryTest, KeepsTheNewestHundredStepsAndANewStepDropsTheUndoneOnes) {
  UndoHistory history;
  auto world = [](int n) {
    WorldState state;
    state.placedAreas = {n};
    return state;
  };
  history.reset(world(0));
  for (int n = 1; n <= 130; ++n)
    history.record(world(n));
  int undone = 0;
  const WorldState* shown = nullptr;
  while (history.canUndo()) {
    shown = &history.undo();
    ++undone;
  }
  EXPECT_EQ(undone, 100);
  ASSERT_NE(shown, nullptr);
  EXPECT_EQ(shown->placedAreas.front(), 30);
  history.redo();
  history.redo();
  history.record(world(200));
  EXPECT_FALSE(history.canRedo());
  EXPECT_EQ(history.undo().placedAreas.front(), 32);
}

// A hundred steps of four large areas placed and removed again: the history
// keeps its maps packed. Unpacked they would take 512 KB each.
TEST(UndoHistoryTest, AHundredStepsOfLargeAreasStayWellBelowUnpackedMaps) {
  DemoEditor e;
  struct Place {
    AreaKind kind;
    int area;
    int x;
  };
  const std::array<Place, 4> places{{{AreaKind::Field, kBlueForest, 0},
                                     {AreaKind::Field, kMistMarsh, 128},
                                     {AreaKind::Town, kHarbourTown, 256},
                                     {AreaKind::Field, kMeadow, 384}}};
  // Each round places the four areas, or removes them when they stand: 120
  // steps, of which the history keeps the newest hundred. What the heap
  // holds more afterwards is the history.
  const std::size_t heapBefore = liveHeapBytes();
  for (int round = 0; round < 30; ++round) {
    for (const auto& [kind, area, x] : places)
      e.place(kind, area, x, 64);
  }
  const std::size_t heapAfter = liveHeapBytes();
  // More, since a hundred worlds are kept (and the heap is counted at all).
  ASSERT_GT(heapAfter, heapBefore);
  EXPECT_LT(heapAfter - heapBefore, std::size_t{100} * 512 * 1024 / 4) << heapAfter - heapBefore;
  std::size_t undone = 0;
  for (; e.model.canUndo(); ++undone)
    e.model.undo();
  EXPECT_EQ(undone, UndoHistory::kStepLimit);
}

}  // namespace
}  // namespace ws::editor::testing
