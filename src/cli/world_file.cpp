#include "cli/world_file.h"

#include <algorithm>
#include <nlohmann/json.hpp>
#include <set>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/failure.h"
#include "world/area_slot.h"
#include "world/save_body_layout.h"

namespace ws::cli {

namespace {

using json = nlohmann::json;

const std::vector<std::string_view> kWorldKeys = {"name", "areas"};
const std::vector<std::string_view> kAreaKeys = {"area", "kind", "x", "y", "objects", "slot"};

// Numbers that a world places: far beyond any world map position or object
// number, yet safe from overflow in every sum they take part in.
constexpr long long kNumberLimit = 1000000;

// "line L, column C" of the byte at `offset`; columns count characters.
std::string lineAndColumn(std::string_view text, std::size_t offset) {
  offset = std::min(offset, text.size());
  std::size_t line = 1;
  std::size_t column = 1;
  for (std::size_t i = 0; i < offset; ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte == '\n') {
      ++line;
      column = 1;
    } else if ((byte & 0xC0) != 0x80) {
      ++column;
    }
  }
  return "line " + std::to_string(line) + ", column " + std::to_string(column);
}

// The parser's explanation without its own prefixes ("[json.exception...]",
// "parse error at line 1, column 2: "): where it is comes first already.
std::string parserReason(std::string reason) {
  if (const auto end = reason.find("] ");
      reason.starts_with("[json.") && end != std::string::npos) {
    reason.erase(0, end + 2);
  }
  if (reason.starts_with("parse error")) {
    if (const auto colon = reason.find(": "); colon != std::string::npos)
      reason.erase(0, colon + 2);
  }
  return reason;
}

// Builds the document as the library's own DOM builder does, and besides
// notes the first key given twice in one object (with its JSON path) and
// where the text stops being JSON, instead of throwing.
class StrictBuilder {
 public:
  explicit StrictBuilder(json& root) : dom_(root, true) {}

  bool null() { return value() && dom_.null(); }
  bool boolean(bool v) { return value() && dom_.boolean(v); }
  bool number_integer(json::number_integer_t v) { return value() && dom_.number_integer(v); }
  bool number_unsigned(json::number_unsigned_t v) { return value() && dom_.number_unsigned(v); }
  bool number_float(json::number_float_t v, const std::string& s) {
    return value() && dom_.number_float(v, s);
  }
  bool string(json::string_t& v) { return value() && dom_.string(v); }
  bool binary(json::binary_t& v) { return value() && dom_.binary(v); }
  bool start_object(std::size_t n) {
    value();
    frames_.push_back({false, 0, {}, {}});
    return dom_.start_object(n);
  }
  bool key(json::string_t& k) {
    Frame& frame = frames_.back();
    frame.key = k;
    if (!frame.keys.insert(k).second && !repeated_) repeated_ = path();
    return dom_.key(k);
  }
  bool end_object() {
    frames_.pop_back();
    return dom_.end_object();
  }
  bool start_array(std::size_t n) {
    value();
    frames_.push_back({true, 0, {}, {}});
    return dom_.start_array(n);
  }
  bool end_array() {
    frames_.pop_back();
    return dom_.end_array();
  }
  bool parse_error(std::size_t position, const std::string&, const nlohmann::detail::exception& e) {
    failure_ = {position, parserReason(e.what())};
    return false;
  }

  const std::optional<std::string>& repeatedKey() const { return repeated_; }
  const std::optional<std::pair<std::size_t, std::string>>& failure() const { return failure_; }

 private:
  struct Frame {
    bool array;
    std::size_t count;  // elements so far, for an array
    std::string key;    // the latest key, for an object
    std::set<std::string, std::less<>> keys;
  };

  // A value starts: inside an array it is the next element.
  bool value() {
    if (!frames_.empty() && frames_.back().array) ++frames_.back().count;
    return true;
  }
  std::string path() const {
    std::string text;
    for (const Frame& frame : frames_) {
      // Appended piece by piece: 32-bit MinGW GCC 12 at -O3 warns falsely
      // (-Wrestrict) inside a chain of string operator+.
      if (frame.array) {
        text.append("[").append(std::to_string(frame.count - 1)).append("]");
      } else {
        if (!text.empty()) text.append(".");
        text.append(quoteAsGiven(frame.key));
      }
    }
    return text;
  }

  nlohmann::detail::json_sax_dom_parser<json> dom_;
  std::vector<Frame> frames_;
  std::optional<std::string> repeated_;
  std::optional<std::pair<std::size_t, std::string>> failure_;
};

Result<json> parseStrictly(std::string_view text) {
  // The parser would take a NUL for the end of the text and ignore the rest.
  if (const auto nul = text.find('\0'); nul != std::string_view::npos) {
    return Error{lineAndColumn(text, nul) + ": a NUL byte, which no JSON text holds"};
  }
  json document;
  StrictBuilder builder(document);
  const bool parsed = json::sax_parse(text.begin(), text.end(), &builder);
  if (const auto& failure = builder.failure(); !parsed || failure) {
    const std::size_t offset = failure && failure->first > 0 ? failure->first - 1 : 0;
    return Error{lineAndColumn(text, offset) + ": not valid JSON",
                 failure ? quoteAsGiven(failure->second) : std::string()};
  }
  if (builder.repeatedKey()) return Error{*builder.repeatedKey() + ": the key is given twice"};
  return document;
}

std::string member(std::string_view path, std::string_view key) {
  return std::string(path) + (path.empty() ? "" : ".") + std::string(key);
}

// The first key of `object` that is not one of `known`, named with its path
// and the known key it may have meant.
Status checkKeys(const json& object, std::string_view path,
                 const std::vector<std::string_view>& known,
                 const std::vector<std::string_view>& elsewhere, std::string_view there) {
  for (const auto& [key, value] : object.items()) {
    if (std::find(known.begin(), known.end(), key) != known.end()) continue;
    std::string message = member(path, quoteAsGiven(key)) + ": unknown key";
    if (std::find(elsewhere.begin(), elsewhere.end(), key) != elsewhere.end()) {
      message += "; \"" + key + "\" belongs " + std::string(there);
    } else if (const auto near = nearestName(key, known); !near.empty()) {
      message += "; did you mean \"" + std::string(near) + "\"?";
    }
    return Error{message};
  }
  return {};
}

std::optional<world::AreaKind> kindFromName(std::string_view name) {
  for (const auto kind : world::kAreaKinds) {
    if (kindName(kind) == name) return kind;
  }
  return std::nullopt;
}

// An integer within ±kNumberLimit, or why the value is none; the number is
// named as written.
Result<int> integerOf(const json& value, std::string_view what) {
  if (!value.is_number_integer()) return Error{"must be " + std::string(what)};
  const bool inRange = value.is_number_unsigned() ? value.get<unsigned long long>() <= kNumberLimit
                                                  : value.get<long long>() >= -kNumberLimit &&
                                                        value.get<long long>() <= kNumberLimit;
  if (!inRange) {
    return Error{value.dump() + " is out of range (-" + std::to_string(kNumberLimit) + " to " +
                 std::to_string(kNumberLimit) + ")"};
  }
  return static_cast<int>(value.get<long long>());
}

Result<int> areaOf(const json& value, const gamedata::AreaCatalogue& catalogue) {
  if (value.is_string()) return areaNamed(catalogue, value.get<std::string>());
  if (!value.is_number_integer()) return Error{"must be a catalogue index or name"};
  const bool inCatalogue =
      value.is_number_unsigned()
          ? value.get<unsigned long long>() < catalogue.size()
          : value.get<long long>() >= 0 &&
                value.get<long long>() < static_cast<long long>(catalogue.size());
  if (!inCatalogue) return Error{"no area " + value.dump() + " in the catalogue"};
  return static_cast<int>(value.get<long long>());
}

// Prefixes an Error's message with the JSON path it is about.
Error at(std::string_view path, const Error& error) {
  return Error{std::string(path) + ": " + error.message, error.detail};
}

Status readObjects(const json& entry, const std::string& path, AreaPlacement& placement) {
  if (!entry.contains("objects")) return {};
  const json& objects = entry["objects"];
  if (!objects.is_array()) return Error{path + ".objects: must be an array of object numbers"};
  for (std::size_t k = 0; k < objects.size(); ++k) {
    auto number = integerOf(objects[k], "an object number");
    if (!number) return at(path + ".objects[" + std::to_string(k) + "]", number.error());
    placement.objects.push_back(*number);
  }
  return {};
}

Result<AreaPlacement> placementOf(const json& entry, const std::string& path,
                                  const gamedata::AreaCatalogue& catalogue) {
  if (!entry.is_object()) return Error{path + ": must be an object"};
  if (auto keys = checkKeys(entry, path, kAreaKeys, kWorldKeys, "to the whole world"); !keys) {
    return keys.error();
  }
  for (const char* key : {"area", "kind", "x", "y"}) {
    if (!entry.contains(key)) return Error{member(path, key) + ": missing"};
  }
  AreaPlacement placement;
  auto area = areaOf(entry["area"], catalogue);
  if (!area) return at(path + ".area", area.error());
  placement.area = *area;
  const json& kind = entry["kind"];
  const auto parsedKind = kind.is_string() ? kindFromName(kind.get<std::string>()) : std::nullopt;
  if (!parsedKind) return Error{path + ".kind: must be \"link-gate\", \"field\" or \"town\""};
  placement.kind = *parsedKind;
  auto x = integerOf(entry["x"], "an integer");
  if (!x) return at(path + ".x", x.error());
  auto y = integerOf(entry["y"], "an integer");
  if (!y) return at(path + ".y", y.error());
  placement.x = *x;
  placement.y = *y;
  if (auto objects = readObjects(entry, path, placement); !objects) return objects.error();
  if (entry.contains("slot")) {
    const auto slot = integerOf(entry["slot"], "a slot number");
    if (!slot || *slot < 0 || *slot >= world::kSlotCount) {
      return Error{path + ".slot: must be 0 to " + std::to_string(world::kSlotCount - 1)};
    }
    placement.slot = *slot;
  }
  return placement;
}

}  // namespace

Result<WorldDescription> readWorldFile(std::string_view utf8Json,
                                       const gamedata::AreaCatalogue& catalogue) {
  auto document = parseStrictly(utf8Json);
  if (!document) return document.error();
  if (!document->is_object()) return Error{"the world file must hold one JSON object"};
  if (auto keys = checkKeys(*document, "", kWorldKeys, kAreaKeys, "in each area of \"areas\"");
      !keys) {
    return keys.error();
  }
  WorldDescription world;
  world.name = std::string(world::kDefaultWorldName);
  if (document->contains("name")) {
    const json& name = (*document)["name"];
    if (!name.is_string()) return Error{"name: must be a text"};
    // The same limits as pack --name: the body's name field holds 31 bytes
    // and its NUL, and a name is never silently cut.
    auto cp932 = worldNameFromUtf8(name.get<std::string>());
    if (!cp932) return at("name", cp932.error());
    world.name = std::move(*cp932);
  }
  if (!document->contains("areas") || !(*document)["areas"].is_array()) {
    return Error{"areas: must be an array of areas"};
  }
  const json& areas = (*document)["areas"];
  for (std::size_t k = 0; k < areas.size(); ++k) {
    auto placement = placementOf(areas[k], "areas[" + std::to_string(k) + "]", catalogue);
    if (!placement) return placement.error();
    world.areas.push_back(std::move(*placement));
  }
  return world;
}

}  // namespace ws::cli
