// No work lost: the recovery file follows the world and brings it back at
// the next start; SAVE keeps the save file it replaces.
#include <algorithm>
#include <random>
#include <tuple>

#include "editor/editor_messages.h"
#include "editor_fixture.h"
#include "world/save_body_layout.h"

namespace ws::editor::testing {
namespace {

// An editor on the demo game keeping its state in a folder of its own.
struct StatefulEditor : DemoEditor {
  using DemoEditor::DemoEditor;

  // SAVE into `path`; the messages it showed.
  std::vector<std::string> save(const fs::path& path) {
    dialogs.messages.clear();
    dialogs.saveAnswers = {path};
    model.Button2Click();
    return dialogs.messages;
  }
};

auto slotFields(const world::AreaSlot& s) {
  const auto count = static_cast<std::ptrdiff_t>(s.objectCount);
  return std::tuple(s.areaNumber, s.x, s.y, s.width, s.height, s.kind, s.specialId, s.specialX,
                    s.specialY,
                    std::vector<std::uint8_t>(s.objectIds.begin(), s.objectIds.begin() + count),
                    std::vector<std::int16_t>(s.objectX.begin(), s.objectX.begin() + count),
                    std::vector<std::int16_t>(s.objectY.begin(), s.objectY.begin() + count));
}

// The world of `restored` is the world of `session`, slot for slot.
void expectSameWorld(const EditorModel& session, const EditorModel& restored,
                     const std::string& context) {
  for (int i = 0; i < world::kSlotCount; ++i) {
    ASSERT_EQ(session.areaSlots()[i].used, restored.areaSlots()[i].used) << context << i;
    if (session.areaSlots()[i].used) {
      EXPECT_TRUE(slotFields(session.areaSlots()[i]) == slotFields(restored.areaSlots()[i]))
          << context << " slot " << i;
    }
  }
  // The list holds the same areas; as after LOAD, in slot order (the
  // session's follows the clicks until the next click rebuilds it).
  std::vector<std::string> listed = session.ListBox2().items;
  std::vector<std::string> restoredListed = restored.ListBox2().items;
  std::sort(listed.begin(), listed.end());
  std::sort(restoredListed.begin(), restoredListed.end());
  EXPECT_EQ(listed, restoredListed) << context;
  EXPECT_EQ(session.Edit1(), restored.Edit1()) << context;
}

constexpr std::array kAreas{kGateOfBeginnings, kStarGate,   kBlueForest,  kMeadow,
                            kWindHill,         kMistMarsh,  kHarbourTown, kForestVillage,
                            kHamlet,           kLakeIsland, kMoonTemple,  kMissingMap};

// One random user action on `e`: a placement or removal, undo, redo, a name
// edit, a check mark, or a LOAD of one of `saves`.
void randomAction(std::mt19937& random, StatefulEditor& e, const std::vector<fs::path>& saves) {
  auto below = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
  EditorModel& m = e.model;
  switch (below(10)) {
    case 0:
      m.undo();
      return;
    case 1:
      m.redo();
      return;
    case 2:
      m.setWorldName(cp932("ワールド") + std::to_string(below(100)));
      return;
    case 3:
      m.toggleCheck(
          m.RadioButtons().selected == AreaKind::Town ? CheckList::Houses : CheckList::Dungeons,
          below(4));
      return;
    case 4:
      m.loadFile(saves[static_cast<std::size_t>(below(static_cast<int>(saves.size())))]);
      return;
    default:
      break;
  }
  std::vector<AreaKind> kinds;
  for (const AreaKind k : world::kAreaKinds) {
    if (m.RadioButtons().isEnabled(k)) kinds.push_back(k);
  }
  e.place(kinds[static_cast<std::size_t>(below(static_cast<int>(kinds.size())))],
          kAreas[static_cast<std::size_t>(below(static_cast<int>(kAreas.size())))],
          below(world::kWorldMapWidth), below(world::kWorldMapHeight));
}

TEST(RecoveryTest, AfterEveryActionAFreshEditorRestoresTheWorldAndSavesTheSameBytes) {
  const fs::path out = freshFolder("recovery-out");
  std::vector<fs::path> saves;
  {
    StatefulEditor e(freshFolder("recovery-setup"));
    e.place(AreaKind::LinkGate, kGateOfBeginnings, 0, 0);
    e.place(AreaKind::Town, kHarbourTown, 128, 64);
    saves.push_back(out / "loaded.dat");
    ASSERT_TRUE(e.save(saves.back()).empty());
  }
  for (unsigned seed = 1; seed <= 3; ++seed) {
    const fs::path state = freshFolder("recovery-state");
    std::mt19937 random(seed);
    StatefulEditor session(state);
    for (int n = 0; n < 24; ++n) {
      randomAction(random, session, saves);
      const std::string context = "seed " + std::to_string(seed) + " action " + std::to_string(n);
      if (!fs::exists(session.model.recoveryFile())) {
        // Nothing has happened to the world yet.
        EXPECT_EQ(session.model.areaSlots().usedCount(), 0) << context;
        EXPECT_EQ(session.model.Edit1(), world::kDefaultWorldName) << context;
        continue;
      }
      StatefulEditor restored(state, {true});
      ASSERT_EQ(restored.dialogs.yesNoQuestions,
                std::vector<std::string>{std::string(kRestoreRecoveryQuestion)})
          << context;
      EXPECT_TRUE(restored.dialogs.messages.empty()) << context;
      EXPECT_TRUE(restored.model.isModified()) << context;
      expectSameWorld(session.model, restored.model, context);
      if (HasFatalFailure()) return;

      // SAVE moves the link gate into slot 0 for good: a copy of the session
      // saves, so that the session goes on as the user left it.
      EditorModel copy = session.model;
      session.dialogs.saveAnswers = {out / "session.dat"};
      session.dialogs.messages.clear();
      copy.Button2Click();
      const std::vector<std::string> sessionMessages = session.dialogs.messages;
      EXPECT_EQ(restored.save(out / "restored.dat"), sessionMessages) << context;
      EXPECT_EQ(readBytes(out / "restored.dat"), readBytes(out / "session.dat")) << context;
      fs::remove(out / "session.dat");
      fs::remove(out / "restored.dat");
    }
  }
}

// What the start-up question does, and closing the window.
TEST(RecoveryTest, TheStartUpQuestionRestoresOrRemovesAndClosingRemoves) {
  struct Case {
    const char* name;
    std::deque<bool> answers;
    bool damaged;
    bool restored;  // the world comes back
    bool kept;      // a recovery file is there afterwards
  };
  const std::vector<Case> cases{
      {"yes", {true}, false, true, true},
      {"no", {false}, false, false, false},
      {"damaged", {true}, true, false, false},
  };
  for (const Case& c : cases) {
    const fs::path state = freshFolder("question");
    fs::path recovery;
    {
      StatefulEditor before(state);
      EXPECT_TRUE(before.dialogs.yesNoQuestions.empty()) << c.name;  // nothing to restore
      before.place(AreaKind::Field, kBlueForest, 64, 32);
      before.model.setWorldName(cp932("残す"));
      recovery = before.model.recoveryFile();
      ASSERT_TRUE(fs::exists(recovery)) << c.name;
      ASSERT_EQ(recovery.parent_path(), state) << c.name;
    }  // as good as killed: nothing closed the window
    if (c.damaged) writeFile(recovery, {'W', 'S'});
    StatefulEditor after(state, c.answers);
    EXPECT_EQ(after.dialogs.yesNoQuestions.size(), 1u) << c.name;
    EXPECT_EQ(after.model.areaSlots().usedCount(), c.restored ? 1 : 0) << c.name;
    EXPECT_EQ(after.model.Edit1(),
              c.restored ? cp932("残す") : std::string(world::kDefaultWorldName))
        << c.name;
    EXPECT_EQ(after.model.isModified(), c.restored) << c.name;
    // The field is placed; the link gate kind is still there to choose.
    EXPECT_TRUE(after.model.RadioButtons().isEnabled(AreaKind::LinkGate)) << c.name;
    EXPECT_EQ(fs::exists(recovery), c.kept) << c.name;
    EXPECT_EQ(after.dialogs.messages,
              c.damaged ? std::vector<std::string>{std::string(kRecoveryFailedMessage)}
                        : std::vector<std::string>{})
        << c.name;
    EXPECT_EQ(fs::exists(fs::path(recovery) += ".unrestored"), c.damaged) << c.name;
    after.model.FormClose();
    EXPECT_FALSE(fs::exists(recovery)) << c.name;
  }
}

TEST(RecoveryTest, AnotherGameFolderHasItsOwnRecoveryFile) {
  const fs::path state = freshFolder("two-games");
  StatefulEditor demo(state);
  demo.place(AreaKind::Field, kBlueForest, 64, 32);
  const fs::path otherGame = freshFolder("other-game");
  ASSERT_TRUE(ws::demo::makeDemoGame(otherGame).ok());
  ScriptedDialogs dialogs;
  EditorModel other(dialogs, EditorOptions{otherGame, nullptr, state});
  ASSERT_TRUE(other.FormCreate());
  EXPECT_TRUE(dialogs.yesNoQuestions.empty());
  EXPECT_NE(other.recoveryFile(), demo.model.recoveryFile());
}

// SAVE over a save file keeps the old one in the backup folder; when that
// copy cannot be written nothing is replaced.
TEST(RecoveryTest, SaveKeepsEveryReplacedSaveAndRefusesWithoutABackup) {
  const fs::path state = freshFolder("backups");
  const fs::path target = freshFolder("saves") / "RVTSV1.dat";
  StatefulEditor e(state);
  e.place(AreaKind::LinkGate, kGateOfBeginnings, 0, 0);
  std::vector<std::vector<std::uint8_t>> versions;
  for (const int x : {128, 256, 384}) {
    e.place(AreaKind::Field, kWindHill, x, 128);
    ASSERT_TRUE(e.save(target).empty());
    versions.push_back(readBytes(target));
  }
  // Three saves, two replaced: both old files are there, byte for byte.
  std::vector<std::vector<std::uint8_t>> kept;
  for (const fs::directory_entry& entry : fs::directory_iterator(state / "backups")) {
    EXPECT_TRUE(entry.path().filename().string().starts_with("RVTSV1-")) << entry.path();
    kept.push_back(readBytes(entry.path()));
  }
  std::sort(kept.begin(), kept.end());
  std::vector<std::vector<std::uint8_t>> replaced(versions.begin(), versions.end() - 1);
  std::sort(replaced.begin(), replaced.end());
  EXPECT_EQ(kept, replaced);

  // The backup folder cannot be made: a file stands in its place.
  const fs::path blocked = freshFolder("blocked");
  writeFile(blocked / "backups", {1});
  StatefulEditor refused(blocked);
  refused.place(AreaKind::LinkGate, kStarGate, 0, 0);
  EXPECT_EQ(refused.save(target), std::vector<std::string>{std::string(kBackupFailedMessage)});
  EXPECT_EQ(readBytes(target), versions.back());
  EXPECT_TRUE(refused.model.isModified());
}

}  // namespace
}  // namespace ws::editor::testing
