// new, show and image: the template file from the command line.
#include <iostream>
#include <nlohmann/json.hpp>

#include "app/TemplateCommands.h"
#include "cli/CliSupport.h"
#include "link/DownloadImage.h"
#include "template/Cp950.h"
#include "template/TemplateFile.h"

namespace k52::cli {
namespace {

using Json = nlohmann::ordered_json;

template <std::size_t N>
Json Bytes(const u8 (&a)[N]) {
    Json j = Json::array();
    for (u8 v : a) j.push_back(v);
    return j;
}

template <std::size_t N, std::size_t W>
Json Texts(const u8 (&a)[N][W]) {
    Json j = Json::array();
    for (const auto& t : a) j.push_back(FieldUtf8(t));
    return j;
}

std::string Hex(const u8* p, std::size_t n) {
    static const char digits[] = "0123456789ABCDEF";
    std::string s;
    for (std::size_t i = 0; i < n; ++i) {
        s += digits[p[i] >> 4];
        s += digits[p[i] & 15];
    }
    return s;
}

Json TemplateJson(const ApplicationTemplate& t) {
    Json j;
    j["portSettings"] = {{"comPort", t.portSettings.comPort}, {"baudRate", t.portSettings.baudRate}};
    j["startPosition"] = t.startPosition;
    j["barcodeSettings"] = Hex(t.barcodeSettings.bytes(), sizeof(BarcodeSettings));
    Json menus = Json::array();
    for (const MenuRecord& m : t.menus) {
        Json o;
        o["narrowRows"] = m.narrowRows;
        o["showTitle"] = m.showTitle;
        o["title"] = FieldUtf8(m.title);
        o["options"] = Texts(m.options);
        o["escapeTarget"] = m.escapeTarget;
        o["optionTargets"] = Bytes(m.optionTargets);
        o["storeTitle"] = m.storeTitle;
        o["storeSelection"] = m.storeSelection;
        o["passDown"] = m.passDown;
        o["optionCount"] = m.optionCount;
        o["currentOption"] = m.currentOption;
        o["menuRunSpare"] = m.menuRunSpare;
        menus.push_back(o);
    }
    j["menus"] = menus;
    Json forms = Json::array();
    for (const FormRecord& f : t.forms) {
        Json o;
        o["narrowRows"] = f.narrowRows;
        o["escapeTarget"] = f.escapeTarget;
        o["nextTarget"] = f.nextTarget;
        o["dateStamp"] = f.dateStamp;
        o["timeStamp"] = f.timeStamp;
        o["dataAction"] = f.dataAction;
        o["lookupFile"] = f.lookupFile;
        o["lastInputLine"] = f.lastInputLine;
        o["currentLine"] = f.currentLine;
        o["lookupField"] = Bytes(f.lookupField);
        o["lineType"] = Bytes(f.lineType);
        o["prompt"] = Texts(f.prompt);
        o["inputSource"] = Bytes(f.inputSource);
        o["minLength"] = Bytes(f.minLength);
        o["maxLength"] = Bytes(f.maxLength);
        o["fixedLength"] = Bytes(f.fixedLength);
        o["alignment"] = Bytes(f.alignment);
        o["fixedLengthValue"] = Bytes(f.fixedLengthValue);
        o["hasInitialValue"] = Bytes(f.hasInitialValue);
        o["initialValue"] = Texts(f.initialValue);
        o["hasPrefix"] = Bytes(f.hasPrefix);
        o["prefix"] = Texts(f.prefix);
        o["hasSuffix"] = Bytes(f.hasSuffix);
        o["suffix"] = Texts(f.suffix);
        o["partialBarcode"] = Bytes(f.partialBarcode);
        o["partialStart"] = Bytes(f.partialStart);
        o["partialMaxLength"] = Bytes(f.partialMaxLength);
        o["verifyPrefix"] = Bytes(f.verifyPrefix);
        o["verifyPrefixText"] = Texts(f.verifyPrefixText);
        o["autoAdvance"] = Bytes(f.autoAdvance);
        o["lineSpare"] = Bytes(f.lineSpare);
        forms.push_back(o);
    }
    j["forms"] = forms;
    Json lookups = Json::array();
    for (const LookupFileRecord& l : t.lookupFiles) {
        lookups.push_back({{"recordLength", l.recordLength},
                           {"fieldCount", l.fieldCount},
                           {"keyField", l.keyField},
                           {"fieldStart", Bytes(l.fieldStart)},
                           {"fieldLength", Bytes(l.fieldLength)}});
    }
    j["lookupFiles"] = lookups;
    j["fieldSeparators"] = {{"separator1", t.fieldSeparators.separator1},
                            {"separator2", t.fieldSeparators.separator2}};
    const StartupSettings& s = t.startupSettings;
    j["startupSettings"] = {{"uploadPort", s.uploadPort},
                            {"downloadPort", s.downloadPort},
                            {"transferSpeed", s.transferSpeed},
                            {"backlight", s.backlight},
                            {"setting4", s.setting4},
                            {"deleteMode", s.deleteMode},
                            {"recordCountPrompt", s.recordCountPrompt},
                            {"setting7", s.setting7},
                            {"passwordGuard", Bytes(s.passwordGuard)}};
    j["securityPassword"] = FieldUtf8(t.securityPassword);
    return j;
}

void PrintReadable(const ApplicationTemplate& t) {
    std::cout << "port: COM" << t.portSettings.comPort + 1 << ", speed index " << int(t.portSettings.baudRate)
              << "\n"
              << "start: " << (t.startPosition == 0 ? "form 1" : "menu 1") << "\n"
              << "barcode settings: " << Hex(t.barcodeSettings.bytes(), sizeof(BarcodeSettings)) << "\n"
              << "separators: " << int(t.fieldSeparators.separator1) << ", "
              << int(t.fieldSeparators.separator2) << "\n";
    for (int m = 1; m <= kMenuCount; ++m) {
        const MenuRecord& menu = t.menu(m);
        bool used = menu.title[0] != 0;
        for (const auto& o : menu.options) used = used || o[0] != 0;
        if (!used) continue;
        std::cout << "menu " << m << ": \"" << Printable(FieldUtf8(menu.title)) << "\""
                  << (menu.showTitle ? " (shown)" : "") << ", Esc -> " << TargetLabel(menu.escapeTarget)
                  << "\n";
        for (int i = 0; i < kOptionsPerMenu; ++i)
            if (menu.options[i][0] != 0)
                std::cout << "  " << i + 1 << ". \"" << Printable(FieldUtf8(menu.options[i])) << "\" -> "
                          << TargetLabel(menu.optionTargets[i]) << "\n";
    }
    for (int f = 1; f <= kFormCount; ++f) {
        const FormRecord& form = t.form(f);
        bool used = false;
        for (u8 type : form.lineType) used = used || type != 0;
        if (!used) continue;
        std::cout << "form " << f << ": next -> " << TargetLabel(form.nextTarget) << ", Esc -> "
                  << TargetLabel(form.escapeTarget) << "\n";
        for (int i = 0; i < kLinesPerForm; ++i)
            if (form.lineType[i] != 0)
                std::cout << "  line " << i + 1 << ": type " << int(form.lineType[i]) << ", prompt \""
                          << Printable(FieldUtf8(form.prompt[i])) << "\", length " << int(form.minLength[i])
                          << ".." << int(form.maxLength[i]) << "\n";
    }
    for (int l = 1; l <= kLookupFileCount; ++l) {
        const LookupFileRecord& r = t.lookupFile(l);
        if (r.defined())
            std::cout << "lookup file " << l << ": record length " << int(r.recordLength) << ", "
                      << int(r.fieldCount) << " fields, key field " << r.keyField + 1 << "\n";
    }
}

}  // namespace

int CmdNew(const NewOptions& o) {
    std::string error;
    if (!WriteTemplateFile(o.out, StartupTemplate(), &error)) {
        PrintError(kErrorTitle, std::string(kCannotSaveText) + " (" + o.out + ": " + error + ")");
        return kExitFile;
    }
    return kExitOk;
}

int CmdShow(const ShowOptions& o) {
    ApplicationTemplate t{};
    if (int rc = LoadTemplate(o.file, t); rc != kExitOk) return rc;
    if (o.json)
        std::cout << TemplateJson(t).dump(2) << "\n";
    else
        PrintReadable(t);
    return kExitOk;
}

int CmdImage(const ImageOptions& o) {
    if (SameFile(o.file, o.out)) {
        PrintError("k52cli", o.out + " is the template itself; give the image another name");
        return kExitUsage;
    }
    ApplicationTemplate t{};
    if (int rc = LoadTemplate(o.file, t); rc != kExitOk) return rc;
    DownloadImageBuilder builder;
    builder.BuildDownloadImage(t);  // works on the copy in memory; the file is not changed
    std::string reason;
    if (!WriteWholeFile(o.out, builder.image().data(), builder.image().size(), reason)) {
        PrintError("k52cli", "cannot write " + o.out + ": " + reason);
        return kExitFile;
    }
    return kExitOk;
}

}  // namespace k52::cli
