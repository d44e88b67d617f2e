// The Open, Save and Save As commands on the template a front end holds, with the texts they show.
#pragma once

#include "app/UserInterface.h"
#include "template/Template.h"

#include <string>

namespace k52 {

extern const char kFormatErrorText[];  // "檔案格式錯誤!!"
extern const char kErrorTitle[];       // "錯誤"
extern const char kCannotSaveText[];   // "無法儲存檔案!!"
extern const char kPathTooLongText[];  // "檔案名稱過長!!"

// The template the shell owns, with its file path and modified flag.
struct TemplateDocument {
    ApplicationTemplate tmpl{};
    std::string templatePath;
    bool templateModified = false;
};

// The file commands' operations. Each returns 1 on success and 0 otherwise, after telling the user
// whatever went wrong. None of them touches templateModified.
int OpenTemplate(TemplateDocument& doc, TemplateFileDialogs& dialogs, MessageBoxes& messages);
int SaveTemplate(TemplateDocument& doc, TemplateFileDialogs& dialogs, MessageBoxes& messages);
int SaveTemplateAs(TemplateDocument& doc, TemplateFileDialogs& dialogs, MessageBoxes& messages);

// Answers Open's file question with one named file.
class NamedFile : public TemplateFileDialogs {
  public:
    explicit NamedFile(std::string path) : path_(std::move(path)) {}
    std::optional<std::string> ChooseTemplateToOpen() override { return path_; }
    std::optional<std::string> ChooseTemplateToSave() override { return std::nullopt; }

  private:
    std::string path_;
};

}  // namespace k52
