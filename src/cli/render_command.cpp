// render: a save file's world map as a PNG picture.
#include <CLI/CLI.hpp>
#include <memory>

#include "cli/commands.h"
#include "cli/png_writer.h"
#include "cli/utf8_arguments.h"
#include "editor/world_picture.h"

namespace ws::cli {

namespace {

constexpr int kMaxRenderScale = 8;

int runRender(const Context& context, const std::filesystem::path& save,
              const std::filesystem::path& output, int scale) {
  auto folder = gameFolder(context);
  if (!folder) return reportError(folder.error());
  // The map exactly as the editor's LOAD shows it, without the cursor.
  const Result<canvas::Canvas> map = editor::RenderSaveFile(*folder, save);
  if (!map) return reportError(map.error());
  if (auto written = writePngOutput(output, *map, scale, "the world map"); !written) {
    return reportError(written.error());
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
  command->add_option("--scale", options->scale, "Enlarge N times without smoothing")
      ->check(CLI::Range(1, kMaxRenderScale));
  command->callback([&context, options] {
    context.exitCode = runRender(context, options->save, options->output, options->scale);
  });
}

}  // namespace ws::cli
