#include <iterator>

#include "codec/save_container.h"
#include "editor/editor_messages.h"
#include "editor_fixture.h"
#include "platform/file_io.h"
#include "platform/game_paths.h"
#include "world/save_body.h"
#include "world/world_messages.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace ws::editor::testing {
namespace {

// The parts of a slot that LOAD restores and SAVE writes.
auto slotFields(const world::AreaSlot& s) {
  return std::tuple(s.used, s.areaNumber, s.x, s.y, s.width, s.height, s.kind, s.specialId,
                    s.specialX, s.specialY, s.objectCount, s.objectIds, s.objectX, s.objectY);
}

void expectSameSlots(const world::AreaSlotTable& a, const world::AreaSlotTable& b) {
  for (int i = 0; i < world::kSlotCount; ++i) {
    EXPECT_EQ(a[i].used, b[i].used) << i;
    if (a[i].used && b[i].used) {
      EXPECT_TRUE(slotFields(a[i]) == slotFields(b[i])) << i;
    }
  }
}

// Everything the window shows, to tell whether a handler changed anything.
struct Snapshot {
  explicit Snapshot(const EditorModel& m)
      : lists{m.ListBox1().items,      m.ListBox2().items,      m.CheckListBox1().items,
              m.CheckListBox2().items, m.CheckListBox3().items, {m.Edit1()}},
        checks{m.CheckListBox1().checked, m.CheckListBox2().checked},
        state{m.ListBox1().selected,
              m.ListBox2().selected,
              static_cast<int>(m.RadioButtons().selected),
              m.CheckListBox1().visible,
              m.RadioButtons().enabled[0],
              m.RadioButtons().enabled[2],
              m.cursor().x,
              m.cursor().y,
              m.cursor().width,
              m.cursor().height,
              m.cursor().armed},
        image1(m.Image1()),
        image2(m.Image2()),
        slots(m.areaSlots()) {}

  void expectEqual(const Snapshot& o) const {
    EXPECT_EQ(lists, o.lists);
    EXPECT_EQ(checks, o.checks);
    EXPECT_EQ(state, o.state);
    EXPECT_TRUE(samePixels(image1, o.image1));
    EXPECT_TRUE(samePixels(image2, o.image2));
    expectSameSlots(slots, o.slots);
  }

  std::vector<std::vector<std::string>> lists;
  std::vector<std::vector<bool>> checks;
  std::vector<int> state;
  canvas::Canvas image1, image2;
  world::AreaSlotTable slots;
};

// A link gate (two dungeons), a field with a tower (three dungeons), a town
// (four houses) and a field without a tower, composed by events alone.
void composeFourAreas(DemoEditor& e) {
  e.choose(kGateOfBeginnings);
  e.model.toggleCheck(CheckList::Dungeons, 2);
  e.clickAt(300, 150);
  e.model.selectKind(AreaKind::Field);
  e.choose(kMistMarsh);
  e.model.toggleCheck(CheckList::Dungeons, 1);
  e.model.toggleCheck(CheckList::Dungeons, 3);
  e.clickAt(0, 0);
  e.model.selectKind(AreaKind::Town);
  e.choose(kHarbourTown);
  e.model.toggleCheck(CheckList::Houses, 4);
  e.clickAt(160, 0);
  e.model.selectKind(AreaKind::Field);
  e.choose(kMeadow);
  e.clickAt(0, 192);
  ASSERT_TRUE(e.dialogs.messages.empty()) << e.dialogs.messages.front();
  ASSERT_EQ(e.model.areaSlots().usedCount(), 4);
}

fs::path saveTo(DemoEditor& e, const std::string& name) {
  const fs::path file = freshFolder("saves") / name;
  e.dialogs.saveAnswers.push_back(file);
  e.model.Button2Click();
  EXPECT_TRUE(fs::exists(file));
  return file;
}

// LOAD of `file`; unsaved work is given up ("don't save") when asked.
void load(DemoEditor& e, const fs::path& file) {
  if (e.model.isModified()) e.dialogs.saveChoices.push_back(SaveChoice::DontSave);
  e.dialogs.openAnswers.push_back(file);
  e.model.Button1Click();
  EXPECT_TRUE(e.dialogs.saveChoices.empty()) << "the unsaved-work question was not asked";
}

TEST(Save, MovesTheLinkGateToSlotZeroEvenWhenCancelled) {
  for (const bool confirmed : {true, false}) {
    SCOPED_TRACE(confirmed);
    DemoEditor editor;
    editor.model.selectKind(AreaKind::Field);
    editor.choose(kBlueForest);
    editor.clickAt(0, 0);
    editor.model.selectKind(AreaKind::LinkGate);
    editor.choose(kStarGate);
    editor.clickAt(256, 0);
    const fs::path file = freshFolder("saves") / "RVTSV1.dat";
    editor.dialogs.saveAnswers.push_back(confirmed ? std::optional(file) : std::nullopt);
    editor.model.Button2Click();
    EXPECT_EQ(editor.model.areaSlots()[0].kind, world::AreaKind::LinkGate);
    EXPECT_EQ(editor.model.areaSlots()[1].areaNumber, kBlueForest);
    EXPECT_EQ(editor.dialogs.saveFolders, std::vector{platform::saveFolderPath(demoGame())});
    EXPECT_EQ(editor.dialogs.saveNames, std::vector<std::string>{"RVTSV1.dat"});
    EXPECT_EQ(fs::exists(file), confirmed);
    EXPECT_TRUE(editor.dialogs.messages.empty());
  }
}

TEST(Save, RefusesAWorldWithoutLinkGateBeforeTheDialog) {
  DemoEditor editor;
  editor.place(AreaKind::Field, kBlueForest, 0, 0);
  editor.model.Button2Click();  // the fake fails the test if a dialog opens
  EXPECT_EQ(editor.dialogs.messages, std::vector{cp932("リンクゲートがありません")});
}

TEST(Save, ReportsAFileThatCannotBeWritten) {
  DemoEditor editor;
  editor.place(AreaKind::LinkGate, kStarGate, 0, 0);
  editor.dialogs.saveAnswers.push_back(freshFolder("saves") / "no such folder" / "RVTSV1.dat");
  editor.model.Button2Click();
  ASSERT_EQ(editor.dialogs.messages.size(), 1u);
  EXPECT_FALSE(editor.dialogs.messages[0].empty());
}

TEST(Load, RestoresSlotsListsChecksAndTheWorldMap) {
  DemoEditor composer;
  composeFourAreas(composer);
  const fs::path file = saveTo(composer, "four.dat");

  DemoEditor loader;
  loader.choose(kMoonTemple);  // a 32 x 32 cursor before the load
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    load(loader, file);
    const EditorModel& model = loader.model;
    EXPECT_TRUE(loader.dialogs.messages.empty());
    EXPECT_EQ(loader.dialogs.openFolders.back(), platform::saveFolderPath(demoGame()));
    expectSameSlots(model.areaSlots(), composer.model.areaSlots());
    EXPECT_EQ(model.ListBox2().count(), 4);
    EXPECT_EQ(model.ListBox2().item(0), model.ListBox1().item(kGateOfBeginnings) + "=0");
    EXPECT_EQ(model.ListBox1().selected, kMeadow);
    EXPECT_EQ(model.RadioButtons().selected, AreaKind::Town);
    EXPECT_FALSE(model.RadioButtons().isEnabled(AreaKind::LinkGate));
    EXPECT_TRUE(model.CheckListBox2().visible);
    EXPECT_EQ(model.CheckListBox1().checked, (std::vector<bool>{true, false, false, false}));
    EXPECT_TRUE(samePixels(mapWithoutCursor(model), mapWithoutCursor(composer.model)));
    // The cursor takes the size of the area the catalogue now selects.
    EXPECT_EQ(model.cursor().width, 96);
    EXPECT_EQ(model.cursor().height, 48);
    EXPECT_TRUE(model.cursor().armed);
  }
}

TEST(Load, NextClickPlacesTheSelectedAreaWithItsOwnSize) {
  DemoEditor composer;
  composer.place(AreaKind::LinkGate, kStarGate, 0, 0);
  composer.place(AreaKind::Town, kForestVillage, 256, 0);
  const fs::path file = saveTo(composer, "two.dat");

  DemoEditor loader;
  loader.choose(kGateOfBeginnings);  // 128 x 64
  load(loader, file);
  loader.clickAt(256, 128);
  const world::AreaSlot& placed = loader.model.areaSlots()[2];
  ASSERT_TRUE(placed.used);
  EXPECT_EQ(placed.areaNumber, kForestVillage);
  EXPECT_EQ((std::array{placed.width, placed.height}), (std::array{64, 32}));
}

TEST(Load, AFileThatFailsAnyCheckLeavesTheEditorAsItWas) {
  DemoEditor composer;
  composer.place(AreaKind::LinkGate, kStarGate, 0, 0);
  const std::vector<std::uint8_t> good = readBytes(saveTo(composer, "good.dat"));

  world::AreaSlotTable missing;
  missing[0] = world::AreaSlot{.used = true, .areaNumber = kMissingMap, .width = 32, .height = 16};
  missing[0].objectCount = 1;
  Result<std::vector<std::uint8_t>> body =
      world::BuildSaveBody(missing, "x", [](const world::AreaSlot&) {
        return Result<std::vector<gamedata::AreaObjectRef>>(std::vector<gamedata::AreaObjectRef>{});
      });
  ASSERT_TRUE(body.ok());
  std::vector<std::uint8_t> noAreas = *body;
  noAreas[97] = 0;  // areaCount

  // Areas where no placement can put them: off the map, or one on another.
  const auto bodyOf = [](std::vector<world::AreaSlot> areas) {
    world::AreaSlotTable slots;
    for (std::size_t k = 0; k < areas.size(); ++k) {
      slots[static_cast<int>(k)] = areas[k];
      slots[static_cast<int>(k)].used = true;
      slots[static_cast<int>(k)].objectCount = 1;
    }
    // No towns: no townsfolk spots to read.
    Result<std::vector<std::uint8_t>> built =
        world::BuildSaveBody(slots, "x", [](const world::AreaSlot&) {
          return Result<std::vector<gamedata::AreaObjectRef>>(
              std::vector<gamedata::AreaObjectRef>{});
        });
    EXPECT_TRUE(built.ok());
    return codec::encodeSaveFile(built.ok() ? *built : std::vector<std::uint8_t>{});
  };
  const world::AreaSlot gate{.areaNumber = kStarGate, .x = 0, .y = 0, .width = 96, .height = 48};
  world::AreaSlot offTheMap = gate;
  offTheMap.x = 448;
  world::AreaSlot field{.areaNumber = kWindHill, .x = 64, .y = 32, .width = 32, .height = 16};
  field.kind = AreaKind::Field;

  std::vector<std::uint8_t> damaged = good;
  std::fill(damaged.begin() + 140, damaged.end(), std::uint8_t{0xA5});

  struct Case {
    const char* name;
    std::vector<std::uint8_t> bytes;
    bool notASaveFile;  // the message names the file as not a save file
  };
  const Case cases[] = {
      {"not a save file", std::vector<std::uint8_t>(300, 7), true},
      {"damaged stream", damaged, false},
      {"bad body", codec::encodeSaveFile(noAreas), true},
      {"area map file missing", codec::encodeSaveFile(*body), false},
      {"area off the map", bodyOf({offTheMap}), true},
      {"areas overlapping", bodyOf({gate, field}), true},
  };
  DemoEditor loader;
  composeFourAreas(loader);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path file = freshFolder("bad") / "RVTSV1.dat";
    writeFile(file, c.bytes);
    loader.dialogs.messages.clear();
    const Snapshot before(loader.model);
    load(loader, file);
    ASSERT_EQ(loader.dialogs.messages.size(), 1u);
    if (c.notASaveFile) {
      EXPECT_EQ(loader.dialogs.messages[0],
                codec::notASaveFileMessage(platform::pathForMessage(file)));
    }
    before.expectEqual(Snapshot(loader.model));
  }
}

TEST(Load, InputsThatAreNoFilesAreRefusedWithoutWaiting) {
  // A folder as the save file, and (where the system has them) a FIFO, a
  // device and a loop of links: each gets one message naming it, and the
  // editor stays as it was; nothing waits on a FIFO or reads /dev/zero.
  const fs::path folder = freshFolder("special");
  std::vector<fs::path> inputs{folder / "folder.dat"};
  fs::create_directory(inputs.back());
#ifndef _WIN32
  inputs.push_back(folder / "fifo.dat");
  ASSERT_EQ(mkfifo(inputs.back().c_str(), 0600), 0);
  inputs.push_back(folder / "zero.dat");
  fs::create_symlink("/dev/zero", inputs.back());
  inputs.push_back(folder / "loop.dat");
  fs::create_symlink(folder / "loop.dat", inputs.back());
#endif
  DemoEditor loader;
  composeFourAreas(loader);
  for (const fs::path& input : inputs) {
    SCOPED_TRACE(input.filename().string());
    loader.dialogs.messages.clear();
    const Snapshot before(loader.model);
    load(loader, input);
    ASSERT_EQ(loader.dialogs.messages.size(), 1u);
    EXPECT_NE(loader.dialogs.messages[0].find(platform::pathForMessage(input)), std::string::npos)
        << loader.dialogs.messages[0];
    before.expectEqual(Snapshot(loader.model));
  }
}

TEST(Load, CancelledOrMissingFileDoesNothing) {
  DemoEditor editor;
  composeFourAreas(editor);
  const Snapshot before(editor.model);
  editor.dialogs.saveChoices = {SaveChoice::DontSave};
  editor.dialogs.openAnswers.push_back(std::nullopt);
  editor.model.Button1Click();
  load(editor, freshFolder("none") / "absent.dat");
  EXPECT_TRUE(editor.dialogs.messages.empty());
  before.expectEqual(Snapshot(editor.model));
}

// The failures the editor names itself (not the game's messages) are
// Japanese in the window: a file given directly that does not exist, one
// that cannot be read, a save naming an area the catalogue leaves empty.
TEST(Load, MessagesTheEditorAddsAreJapaneseAndNameTheirSubject) {
  const fs::path folder = freshFolder("named");
  world::AreaSlotTable emptyName;
  emptyName[0] = world::AreaSlot{.used = true, .areaNumber = 4, .width = 32, .height = 16};
  Result<std::vector<std::uint8_t>> body =
      world::BuildSaveBody(emptyName, "x", [](const world::AreaSlot&) {
        return Result<std::vector<gamedata::AreaObjectRef>>(std::vector<gamedata::AreaObjectRef>{});
      });
  ASSERT_TRUE(body.ok());
  writeFile(folder / "area4.dat", codec::encodeSaveFile(*body));
  fs::create_directory(folder / "folder.dat");

  struct Case {
    const char* name;
    fs::path file;
    std::string message;
  };
  const Case cases[] = {
      {"missing", folder / "absent.dat", world::fileMissingMessage(folder / "absent.dat")},
      {"unreadable", folder / "folder.dat", world::fileUnreadableMessage(folder / "folder.dat")},
      {"area not in the catalogue", folder / "area4.dat", areaNotInCatalogueMessage(4)},
  };
  DemoEditor editor;
  composeFourAreas(editor);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    editor.dialogs.messages.clear();
    const Snapshot before(editor.model);
    editor.dialogs.saveChoices = {SaveChoice::DontSave};
    EXPECT_FALSE(editor.model.openFile(c.file));
    EXPECT_EQ(editor.dialogs.messages, std::vector<std::string>{c.message});
    before.expectEqual(Snapshot(editor.model));
  }
  EXPECT_EQ(areaNotInCatalogueMessage(4), cp932("エリアカタログにないエリアです: 番号 4"));
}

TEST(Session, ComposeSaveLoadSaveGivesTheSameFile) {
  DemoEditor composer;
  composeFourAreas(composer);
  ASSERT_TRUE(composer.model.setWorldName(cp932("星の世界")));
  const fs::path first = saveTo(composer, "first.dat");

  DemoEditor loader;
  load(loader, first);
  // The save's name comes with it: saving again keeps the world as it was.
  EXPECT_EQ(loader.model.Edit1(), cp932("星の世界"));
  const fs::path second = saveTo(loader, "second.dat");
  EXPECT_TRUE(loader.dialogs.messages.empty());
  EXPECT_EQ(readBytes(first), readBytes(second));
}

TEST(Load, TakesTheSavesNameAndUndoGivesTheOldNameBack) {
  DemoEditor composer;
  composer.place(AreaKind::LinkGate, kStarGate, 0, 0);
  ASSERT_TRUE(composer.model.setWorldName(cp932("星の世界")));
  const fs::path file = saveTo(composer, "named.dat");

  DemoEditor loader;
  loader.place(AreaKind::Field, kWindHill, 256, 128);
  ASSERT_TRUE(loader.model.setWorldName(cp932("私の世界")));
  load(loader, file);
  EXPECT_EQ(loader.model.Edit1(), cp932("星の世界"));
  loader.model.undo();
  EXPECT_EQ(loader.model.Edit1(), cp932("私の世界"));
  EXPECT_EQ(loader.model.ListBox2().count(), 1);
  // Undoing the placement before the load leaves the name alone.
  loader.model.undo();
  EXPECT_EQ(loader.model.Edit1(), cp932("私の世界"));
  loader.model.redo();
  loader.model.redo();
  EXPECT_EQ(loader.model.Edit1(), cp932("星の世界"));
}

}  // namespace
}  // namespace ws::editor::testing
