#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "canvas/canvas.h"
#include "editor/controls.h"
#include "editor/dialogs.h"
#include "editor/placement_cursor.h"
#include "editor/undo_history.h"
#include "gamedata/area_catalogue.h"
#include "gamedata/area_contents.h"
#include "gamedata/area_map_file.h"
#include "gamedata/area_preview.h"
#include "platform/game_folder_store.h"
#include "world/area_slot.h"

namespace ws::editor {

// The save dialog's proposed file name.
inline constexpr std::string_view kDefaultSaveFileName = "RVTSV1.dat";
// The picture dialog's proposed file name.
inline constexpr std::string_view kDefaultPictureFileName = "world.png";

// The modes of HighlightMarkers: which markers it redraws. Clear paints
// every marker over.
enum class MarkerMode { Clear, Houses, Dungeons, Church, Tower, LinkGate };

// Which object list a check mark belongs to.
enum class CheckList { Dungeons = 1, Houses = 2 };

struct EditorOptions {
  // The game folder given on the command line (--game-dir); without it the
  // folder comes from the environment or the registry.
  std::optional<std::filesystem::path> gameFolder;
  // Keeps the folder the user chose for the next run; none: nothing is kept.
  platform::GameFolderStore* gameFolderStore = nullptr;

  // The user's state folder (platform::userStateFolder()). Below it SAVE
  // keeps a backup of every save file it replaces, and the editor keeps its
  // recovery file; without it neither is kept.
  std::optional<std::filesystem::path> stateFolder{};
};

// The editor window without its widgets: the controls as data, the two
// canvases, the world being composed, and one method per event handler.
//
// How a window drives it:
//  - a user selects item i of ListBox1: chooseListBox1(i), the selection
//    and then ListBox1Click(); likewise ListBox2 with chooseListBox2(i);
//  - a user toggles a check mark: toggleCheck(list, i), which flips the mark
//    and runs CheckListBox1ClickCheck or CheckListBox2ClickCheck;
//  - a user clicks a kind button: selectKind(kind), which runs the button's
//    handler only when that kind was not selected yet;
//  - mouse moves and clicks over the world map, in world-map pixels:
//    Image2MouseMove(x, y) and Image2Click();
//  - LOAD and SAVE: Button1Click() and Button2Click();
//  - typing in the name field: typeWorldName (editor/name_field.h), or
//    setWorldName(text), refused beyond 31 bytes;
//  - Ctrl+Z: undo(); Ctrl+Y and Ctrl+Shift+Z: redo() (not in the name field);
//  - the window is about to close: FormCloseQuery(), false keeps it open;
//  - a save file dropped on the window or named at start-up: openFile(path);
//  - hovering catalogue item i: areaHint(i) as its tooltip;
//  - the world map's context menu: saveWorldPicture(), loadBackup();
//  - the window closes after FormCloseQuery() allowed it: FormClose().
// After every handler the window redraws from the accessors; changes the
// model makes to selections and marks are not user events and must not be
// fed back.
class EditorModel {
 public:
  explicit EditorModel(Dialogs& dialogs, EditorOptions options = {});

  // --- Handlers -----------------------------------------------------------

  // Finds the game folder (asking for it when the catalogue is not there),
  // points the dialogs at its "usr" folder, fills the catalogue and sets up
  // the canvases and the cursor. Returns false when the user cancelled the
  // folder dialog: there is no game to edit, and the program ends.
  bool FormCreate();
  void ListBox1Click();
  void ListBox2Click();
  void Image2MouseMove(int x, int y);
  void Image2Click();
  void RadioButton1Click();
  void RadioButton2Click();
  void RadioButton3Click();
  void CheckListBox1ClickCheck();
  void CheckListBox2ClickCheck();
  void Button1Click();  // LOAD
  void Button2Click();  // SAVE

  // --- Window-system operations ------------------------------------------

  // Selects the button of `kind` as a click would: when it was not
  // selected, the others are deselected and its handler runs before this
  // returns; selecting the selected one runs nothing. Works on a disabled
  // button too.
  void selectKind(world::AreaKind kind);
  // A user's choice of item `index`: the selection, then the list's click
  // handler, as a list reports a click.
  void chooseListBox1(int index);
  void chooseListBox2(int index);
  // Selections and marks set from code run nothing.
  void setListBox1Selection(int index);
  void setListBox2Selection(int index);
  void setChecked(CheckList list, int index, bool mark);
  // A user's toggle: flips the mark of an existing item and runs the list's
  // check handler. An index outside the list does nothing.
  void toggleCheck(CheckList list, int index);
  // Takes a new world name (CP932) when it fits the save's name field;
  // returns false and keeps the old name when it is longer than 31 bytes.
  bool setWorldName(std::string cp932Name);

  // --- Undo, unsaved work, files, hints and the world as a picture -------

  // One step is a placement, a click that removed areas, or a LOAD. Undo
  // and redo bring back the slots, the placed-areas list, the world map
  // (previews as they were stamped; the cursor outline where the cursor is
  // now) and the kind buttons' selection (running its handler when it
  // changes, as any selection from code) and availability, and for a LOAD
  // the world name it replaced or set; the catalogue choice, the preview's
  // area, the check lists and the cursor stay. They do nothing when there is
  // nothing to undo or redo.
  void undo();
  void redo();
  bool canUndo() const { return history_.canUndo(); }
  bool canRedo() const { return history_.canRedo(); }

  // True after any step, undo or redo since the world was last saved or
  // loaded; a SAVE that is refused, cancelled or fails leaves it true.
  bool isModified() const { return modified_; }

  // Before the window closes: when the world is modified, asks whether to
  // save it (Yes / No / Cancel); Yes runs SAVE. True when the window may
  // close: nothing to lose, "No", or saved. False after Cancel, or when
  // SAVE was refused, cancelled or failed.
  bool FormCloseQuery();

  // The window closes for good: its recovery file goes, the world having
  // been saved or given up.
  void FormClose();
  // LOAD with its dialog opened in the backup folder (made when missing).
  void loadBackup();
  // The recovery file of this game folder, below the state folder; empty
  // without one. After FormCreate, every step, undo, redo and name change
  // writes the world into it (when it differs from what the file holds); at
  // the next start FormCreate offers to restore it.
  const std::filesystem::path& recoveryFile() const { return recoveryFile_; }

  // LOAD of `path`, as LOAD goes on after its dialog, with its messages.
  // True when the world was loaded (then it is a step, and not modified).
  bool loadFile(const std::filesystem::path& path);
  // The same for a save body already read and decoded; `fileName` (CP932)
  // goes into the not-a-save-file message.
  bool loadSaveBody(std::span<const std::uint8_t> body, std::string_view fileName);
  // A save file dropped on the window or named on the command line: a name
  // that exists nowhere is said in a message (nothing changes); else the
  // question of FormCloseQuery first, then loadFile. True when loaded.
  bool openFile(const std::filesystem::path& path);

  // The tooltip of catalogue item `index` (CP932; empty outside the
  // catalogue). Each area's file is read the first time its hint is asked
  // for, and the hint kept for the rest of the run.
  const std::string& areaHint(int index);

  // The world map as it is shown, without the cursor outline.
  canvas::Canvas worldPictureCanvas() const;
  // Asks for a PNG file and writes worldPictureCanvas() into it; a failed
  // write shows its message. True when written.
  bool saveWorldPicture();

  // --- Operations of the object lists -------------------------------------

  // Fills the three object lists from an area map file and offers the town
  // kind only for an area with a church and at least three houses.
  void FillObjectLists(const gamedata::AreaMapFile& file);
  // Redraws object markers on the preview: Clear paints all of them over,
  // the other modes draw the houses, the dungeons, the church, the tower or
  // the link gate.
  void HighlightMarkers(MarkerMode mode);

  // --- State --------------------------------------------------------------

  const ListBox& ListBox1() const { return listBox1_; }                 // the catalogue
  const ListBox& ListBox2() const { return listBox2_; }                 // the placed areas
  const CheckListBox& CheckListBox1() const { return checkListBox1_; }  // dungeons
  const CheckListBox& CheckListBox2() const { return checkListBox2_; }  // houses
  const CheckListBox& CheckListBox3() const { return checkListBox3_; }  // church, tower, gate
  const RadioGroup& RadioButtons() const { return radioButtons_; }
  const std::string& Edit1() const { return edit1_; }       // the world name, CP932
  const canvas::Canvas& Image1() const { return image1_; }  // the 128 x 64 preview
  const canvas::Canvas& Image2() const { return image2_; }  // the 512 x 256 world map

  // Empty until FormCreate found it.
  const std::filesystem::path& gameFolder() const { return gameFolder_; }
  // Where the open and save dialogs start; empty when not set.
  const std::filesystem::path& openDialogFolder() const { return openDialogFolder_; }
  const std::filesystem::path& saveDialogFolder() const { return saveDialogFolder_; }
  const world::AreaSlotTable& areaSlots() const { return areaSlots_; }
  const PlacementCursor& cursor() const { return cursor_; }

 private:
  bool InitGameFolder();
  // A game folder with its catalogue.
  struct FoundGame {
    std::filesystem::path folder;
    gamedata::AreaCatalogue catalogue;
  };
  // The folder given, located or remembered, when it holds the catalogue.
  std::optional<FoundGame> locateGame();
  // Asks until a folder with the catalogue is chosen; nothing after Cancel.
  std::optional<FoundGame> askForGame();
  void setUpWindow();
  void eraseCursor();
  void drawCursor();
  void checkDefaults();
  void highlightSelectedKind();
  // The markers of one kind: its object list, then its special object.
  void highlightKind(world::AreaKind kind);
  // Draws the markers of the shown area's objects of `kind`, filled by their
  // check marks, or paints them over.
  void markObjects(gamedata::ObjectItemKind kind, bool paintOver);
  void showKind(world::AreaKind kind);
  bool removeAreasUnderCursor();
  // The placed-areas list is made from the area numbers it lists.
  void clearPlacedAreas();
  void listPlacedArea(int areaNumber);
  // Clears the preview and draws the area into it; its size on the world
  // map, 0 x 0 after showing the message of a refused file.
  gamedata::AreaSize drawPreview(const gamedata::AreaMapFile& file);
  // Resizes the cursor (already erased) and holds it inside the map.
  void resizeCursor(gamedata::AreaSize size);
  // Shows `slots` as LOAD does; `mapFiles` holds one file per used slot, in
  // slot order.
  void showLoadedWorld(const world::AreaSlotTable& slots,
                       const std::vector<gamedata::AreaMapFile>& mapFiles);
  // The map files of the used slots in slot order, or the Error of the first
  // that cannot be read or is refused.
  Result<std::vector<gamedata::AreaMapFile>> readMapFilesOf(const world::AreaSlotTable& slots);
  CheckListBox& checkList(CheckList list);
  void runKindHandler(world::AreaKind kind);
  // SAVE; true when the file was written.
  bool saveWorld();
  WorldState currentWorld() const;
  // A step happened: the world as it is now becomes the newest undo step,
  // with the world name it replaced when it renamed the world.
  void recordStep(std::optional<NameChange> name = std::nullopt);
  // The world differs from the last saved or loaded one.
  void markModified();
  // Writes the world into the recovery file when it differs from what the
  // file holds; a failed write goes to the log and is tried again next time.
  void keepRecovery();
  // At start-up, with a recovery file there: the question, then the
  // restored world (Yes) or no file (No).
  void offerRecovery();
  Status restoreRecovery(std::span<const std::uint8_t> bytes);
  // A backup of the save file `path` is about to replace; false (with the
  // message shown) when it is a save file and no backup could be written.
  bool backUpBeforeReplacing(const std::filesystem::path& path);
  void showWorld(const WorldState& state);

  Dialogs& dialogs_;
  EditorOptions options_;

  ListBox listBox1_;
  ListBox listBox2_;
  CheckListBox checkListBox1_;
  CheckListBox checkListBox2_;
  CheckListBox checkListBox3_;
  RadioGroup radioButtons_;
  std::string edit1_;
  canvas::Canvas image1_;
  canvas::Canvas image2_;

  std::filesystem::path gameFolder_;
  std::filesystem::path openDialogFolder_;
  std::filesystem::path saveDialogFolder_;
  world::AreaSlotTable areaSlots_;
  std::vector<int> placedAreas_;         // the areas ListBox2 lists, by catalogue number
  gamedata::AreaContents shownObjects_;  // the objects of the area the check lists show
  PlacementCursor cursor_;

  bool windowSetUp_ = false;
  UndoHistory history_;
  bool modified_ = false;
  std::filesystem::path recoveryFile_;
  std::vector<std::uint8_t> recoveryWritten_;      // what the recovery file holds; empty for none
  std::vector<std::optional<std::string>> hints_;  // by catalogue index; none until asked for
};

}  // namespace ws::editor
