// render: a save file's world map as a PNG picture.
#include <CLI/CLI.hpp>
#include <memory>

#include "cli/commands.h"
#include "cli/failure.h"
#include "cli/png_writer.h"
#include "cli/utf8_arguments.h"
#include "editor/world_picture.h"
#include "world/save_body_parse.h"

namespace ws::cli {

namespace {

constexpr int kMaxRenderScale = 8;

int runRender(const Context& context, const std::filesystem::path& save,
              const std::filesystem::path& output, int scale) {
  auto folder = gameFolder(context);
  if (!folder) return reportError(folder.error());
  // Read and checked as info does, so that both say the same of one file.
  const auto body = readSaveInput(save);
  if (!body) return reportFailure(inputName(save), body.error());
  if (auto parsed = world::ParseSaveBody(*body); !parsed) {
    return reportFailure(inputName(save), parsed.error());
  }
  // The map exactly as the editor's LOAD shows it, without the cursor.
  const Result<canvas::Canvas> map = editor::RenderSaveBody(*folder, *body, "");
  if (!map) return reportFailure(inputName(save), withoutFileName(map.error(), ""));
  if (auto written = writePngOutput(output, *map, scale, "the world map"); !written) {
    return reportFailure(outputName(output), withoutFileName(written.error(), output));
  }
  return kExitSuccess;
}

}  // namespace

void addRenderCommand(CLI::App& app, Context& context) {
  struct Options {
    std::filesystem::path save;
    std::filesystem::path output;
    int scale = 1;
  };
  auto options = std::make_shared<Options>();
  auto* command = app.add_subcommand(
      "render", "Draw a save file's 512 x 256 world map as LOAD shows it, as PNG");
  addPathOption(*command, "SAVE", options->save, "The save file")->required();
  addPathOption(*command, "-o,--output", options->output,
                "The PNG file to write (\"-\": standard output)")
      ->required();
  command->add_option("--scale", options->scale, "Enlarge N times (1 to 8) without smoothing")
      ->type_name("N")
      ->check(CLI::Range(1, kMaxRenderScale));
  command->callback([&context, options] {
    context.exitCode = runRender(context, options->save, options->output, options->scale);
  });
}

}  // namespace ws::cli
