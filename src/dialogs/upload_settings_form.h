#pragma once

#include <string>

#include "forms/form.h"
#include "forms/shell_context.h"

namespace vs {

// "Upload Settings" (template 139): writes the settings image the command has
// just read from the controller into a settings file the user chooses.
class UploadSettingsForm : public Form {
 public:
  static constexpr int kTemplateId = 139;
  static constexpr const char* kUploaded = "Valve settings have been successfully uploaded.";
  static constexpr const char* kWriteFailed =
      "The settings file could not be written. Nothing was uploaded.";

  explicit UploadSettingsForm(ShellContext& ctx) : Form(kTemplateId, ctx.line), ctx_(ctx) {}

  const std::string& path() const { return path_; }
  const std::string& status() const { return status_; }

  void createFile();
  void upload();
  void close() { end(2); }

 private:
  ShellContext& ctx_;
  std::string path_;
  std::string status_;
};

}  // namespace vs
