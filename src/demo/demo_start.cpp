#include "demo/demo_start.h"

#include <string_view>

#include "demo/demo_folder.h"
#include "editor/editor_messages.h"

namespace ws::demo {

namespace {

std::string_view reasonText(DemoWriteReason reason) {
  switch (reason) {
    case DemoWriteReason::NoSpace:
      return editor::kDemoReasonNoSpace;
    case DemoWriteReason::Denied:
      return editor::kDemoReasonDenied;
    case DemoWriteReason::BadName:
      return editor::kDemoReasonBadName;
    case DemoWriteReason::Other:
      break;
  }
  return editor::kDemoReasonOther;
}

}  // namespace

Result<std::filesystem::path> prepareDemoGame(const std::filesystem::path& folder) {
  const std::optional<DemoWriteFailure> failed = ensureDemoFolder(folder);
  if (!failed) return folder;
  return Error{editor::demoWriteFailedMessage(folder, reasonText(failed->reason)),
               "cannot write the demo game: " + failed->detail};
}

}  // namespace ws::demo
