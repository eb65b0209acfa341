#include "editor/area_hint.h"

#include <string_view>

#include "editor/area_hint_texts.h"
#include "editor/window_texts.h"

namespace ws::editor {

namespace {

using gamedata::KindRefusal;

std::string_view presence(bool present) {
  return present ? kHintPresent : kHintAbsent;
}

std::string_view reason(KindRefusal refusal) {
  switch (refusal) {
    case KindRefusal::NoLinkGate:
      return kHintNoLinkGate;
    case KindRefusal::NoDungeon:
      return kHintNoDungeon;
    case KindRefusal::NoChurch:
      return kHintNoChurch;
    case KindRefusal::TooFewHouses:
      return kHintTooFewHouses;
    case KindRefusal::NoChurchOrHouses:
      return kHintNoChurchOrHouses;
    case KindRefusal::None:
    case KindRefusal::Unreadable:
      break;
  }
  return {};
}

// "町: ○" or "町: × 教会がありません", the kind named by its button's caption.
void appendKind(std::string& text, std::string_view caption, KindRefusal refusal) {
  text += '\n';
  text += caption;
  text += ": ";
  if (refusal == KindRefusal::None) {
    text += kHintCanTake;
  } else {
    text += kHintCannotTake;
    text += reason(refusal);
  }
}

}  // namespace

std::string areaHintText(const gamedata::AreaFacts& facts) {
  switch (facts.status) {
    case gamedata::AreaFileStatus::EmptyName:
      return std::string(kHintEmptyName);
    case gamedata::AreaFileStatus::Missing:
      return std::string(kHintMissingFile);
    case gamedata::AreaFileStatus::Refused:
      return std::string(kHintRefusedFile);
    case gamedata::AreaFileStatus::Readable:
      break;
  }
  std::string text(kHintSize);
  text += std::to_string(facts.width) + " x " + std::to_string(facts.height) + '\n';
  text += kHintDungeons;
  text += std::to_string(facts.dungeons);
  text += kHintHouses;
  text += std::to_string(facts.houses);
  text += '\n';
  text += kHintChurch;
  text += presence(facts.church);
  text += kHintTower;
  text += presence(facts.tower);
  text += kHintLinkGate;
  text += presence(facts.linkGate);
  text += '\n';
  text += kHintTownsfolkSpots;
  text += std::to_string(facts.townsfolkSpots);
  text += '\n';
  text += kHintKindsHeader;
  appendKind(text, kRadioButton1Caption, facts.linkGateRefusal);
  appendKind(text, kRadioButton2Caption, facts.fieldRefusal);
  appendKind(text, kRadioButton3Caption, facts.townRefusal);
  return text;
}

}  // namespace ws::editor
