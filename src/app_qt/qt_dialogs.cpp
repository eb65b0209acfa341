#include "app_qt/qt_dialogs.h"

#include <QDebug>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>

#include "app_qt/qt_text.h"

namespace ws::app {

void QtDialogs::showMessage(std::string_view text) {
  QMessageBox box(QMessageBox::NoIcon, QGuiApplication::applicationDisplayName(), fromCp932(text),
                  QMessageBox::Ok, parent_);
  box.exec();
}

void QtDialogs::logLine(std::string_view text) {
  qWarning().noquote() << fromCp932(text);
}

std::optional<std::filesystem::path> QtDialogs::chooseFolder(std::string_view instruction) {
  // Starts in the process's current folder and offers no folder creation;
  // the instruction is the dialog's title.
  const QString folder = QFileDialog::getExistingDirectory(
      parent_, fromCp932(instruction), QDir::currentPath(),
      QFileDialog::ShowDirsOnly | QFileDialog::DontResolveSymlinks);
  if (folder.isEmpty()) return std::nullopt;
  return toPath(folder);
}

std::optional<std::filesystem::path> QtDialogs::chooseOpenFile(
    const std::filesystem::path& initialFolder) {
  QFileDialog dialog(parent_, QString(), fromPath(initialFolder));
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return toPath(dialog.selectedFiles().front());
}

std::optional<std::filesystem::path> QtDialogs::chooseSaveFile(
    const std::filesystem::path& initialFolder, std::string_view defaultName) {
  QFileDialog dialog(parent_, QString(), fromPath(initialFolder));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  // Replacing an existing file is confirmed first (Qt's default for save
  // dialogs, stated here so that nobody turns it off by accident).
  dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
  dialog.selectFile(fromCp932(defaultName));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return toPath(dialog.selectedFiles().front());
}

editor::SaveChoice QtDialogs::askSaveChanges(std::string_view question) {
  QMessageBox box(QMessageBox::Question, QGuiApplication::applicationDisplayName(),
                  fromCp932(question), QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                  parent_);
  box.setDefaultButton(QMessageBox::Yes);
  box.setEscapeButton(QMessageBox::Cancel);
  switch (box.exec()) {
    case QMessageBox::Yes:
      return editor::SaveChoice::Save;
    case QMessageBox::No:
      return editor::SaveChoice::DontSave;
    default:
      return editor::SaveChoice::Cancel;
  }
}

bool QtDialogs::askYesNo(std::string_view question) {
  QMessageBox box(QMessageBox::Question, QGuiApplication::applicationDisplayName(),
                  fromCp932(question), QMessageBox::Yes | QMessageBox::No, parent_);
  box.setDefaultButton(QMessageBox::Yes);
  box.setEscapeButton(QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}

std::optional<std::filesystem::path> QtDialogs::choosePictureFile(std::string_view defaultName) {
  QFileDialog dialog(parent_);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
  dialog.setNameFilter(QStringLiteral("PNG (*.png)"));
  dialog.setDefaultSuffix(QStringLiteral("png"));
  dialog.selectFile(
      QString::fromUtf8(defaultName.data(), static_cast<qsizetype>(defaultName.size())));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return toPath(dialog.selectedFiles().front());
}

}  // namespace ws::app
