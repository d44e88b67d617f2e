// The design sheet's HTML. On paper it is set by the sheet's own layout (paper/SheetPdf), which reads
// only the few elements and classes written here.
#include "paper/DesignSheet.h"

#include "i18n/Translate.h"
#include "paper/Symbologies.h"
#include "simulator/TerminalSimulator.h"
#include "template/Cp950.h"
#include "template/Defaults.h"
#include "template/PasswordGuards.h"
#include "util/Printable.h"

namespace k52 {

namespace {

std::string N(long n) {
    return std::to_string(n);
}

std::string Escape(std::string_view text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

// A template text, shown as the editor shows it.
template <std::size_t W>
std::string Text(const u8 (&field)[W]) {
    return Escape(Printable(FieldUtf8(field)));
}

// A target as the editor names it, a menu with its title ("Menu 2: Receiving").
std::string TargetName(const ApplicationTemplate& t, u8 code) {
    std::string label = TranslateNumbered("Editor", TargetLabel(code));
    const auto where = DecodeTarget(code);
    if (where.kind == TargetKind::Menu && t.menu(where.number).title[0] != 0)
        label += ": " + Printable(FieldUtf8(t.menu(where.number).title));
    return Escape(label);
}

std::string Tr(const char* context, const char* source) {
    return Escape(Translate(context, source));
}

std::string L(std::string_view english) {
    return Escape(Localize(english));
}

std::string Row(std::initializer_list<std::string> cells, const char* tag = "td") {
    std::string out = "<tr>";
    for (const std::string& c : cells) out += std::string("<") + tag + ">" + c + "</" + tag + ">";
    return out + "</tr>\n";
}

std::string Entry(std::initializer_list<const char*> entries, u8 value) {
    return value < entries.size() ? Escape(entries.begin()[value]) : N(value);
}

// An entry of one of the editor's lists, in the words the editor shows it.
std::string EditorEntry(std::initializer_list<const char*> entries, u8 value) {
    return value < entries.size() ? Tr("Editor", entries.begin()[value]) : N(value);
}

// The screens the terminal shows first for a menu or a form, from the simulator itself.
struct Screen {
    std::string rows[8];
    int highlight = 0;
};

Screen ScreenOf(const ApplicationTemplate& t, int code) {
    // As the terminal runs it: normalised as a download sends it, each menu's options counted as the
    // application's start counts them.
    ApplicationTemplate copy = t;
    NormaliseTemplate(copy);
    DeriveTemplateFields(copy);
    FixedLocalClock clock;
    TerminalSimulator sim(copy, clock);
    sim.UpdateAfterEdit();
    sim.GoToTarget(code, false);
    Screen s;
    for (int r = 0; r < kSimRows; ++r) s.rows[r] = std::string(sim.screen().Row(r));
    s.highlight = sim.simState() == SimState::AppMenu ? sim.engineState().highlightRow : 0;
    return s;
}

std::string Beside(const std::string& left, const std::string& right) {
    return "<table class=\"beside\"><tr><td class=\"screen\">" + left + "</td><td>" + right +
           "</td></tr></table>\n";
}

const char kStyle[] =
    "body{font-family:sans-serif;font-size:10pt;margin:12mm}\n"
    "h1{font-size:16pt}h2{font-size:13pt;margin-top:8mm;border-bottom:1px solid #444}h3{font-size:11pt}\n"
    "table.grid{border-collapse:collapse}table.grid td,table.grid th{border:1px solid #888;padding:2px "
    "6px;text-align:left;vertical-align:top}\n"
    "table.beside td{vertical-align:top;padding-right:8mm}\n"
    "table.lcd{border-collapse:collapse;background:#b8c8a0;border:4px solid #39402f;font-family:'WenQuanYi "
    "Micro Hei Mono','WenQuanYi Bitmap Song',Elite,monospace;font-size:11pt}\n"
    "table.lcd td{width:0.62em;height:1.3em;padding:0;text-align:center;border:1px solid #a9b993}\n"
    "table.lcd tr.hl td{background:#39402f;color:#e8f0d8}\n"
    "table.sign td{border-bottom:1px solid #000;width:55mm;height:10mm}\n";

}  // namespace

std::string ScreenHtml(const std::string (&rows)[8], int highlight) {
    std::string out = "<table class=\"lcd\" cellspacing=\"0\">\n";
    for (int r = 0; r < kSimRows; ++r) {
        out += r + 1 == highlight ? "<tr class=\"hl\">" : "<tr>";
        const std::string& row = rows[r];
        int columns = 0;
        for (std::size_t i = 0; i < row.size() && columns < kSimColumns;) {
            const bool wide = IsCp950LeadByte(static_cast<u8>(row[i])) && i + 1 < row.size();
            const std::size_t width = wide ? 2 : 1;
            const std::string cell = Escape(Cp950ToUtf8(std::string_view(row).substr(i, width)));
            out += wide ? "<td colspan=\"2\">" + cell + "</td>"
                        : "<td>" + (cell == " " ? "&nbsp;" : cell) + "</td>";
            columns += static_cast<int>(width);
            i += width;
        }
        for (; columns < kSimColumns; ++columns) out += "<td>&nbsp;</td>";
        out += "</tr>\n";
    }
    return out + "</table>\n";
}

std::string MenuSectionHtml(const ApplicationTemplate& t, int n) {
    const MenuRecord& m = t.menu(n);
    const Screen screen = ScreenOf(t, MenuTarget(n));
    std::string table = "<table class=\"grid\">\n" +
                        Row({L(K52_EN("Option")), L(K52_EN("Text")), L(K52_EN("Goes to"))}, "th");
    for (int i = 0; i < kOptionsPerMenu; ++i)
        if (m.options[i][0] != 0)
            table += Row({N(i + 1), Text(m.options[i]), TargetName(t, m.optionTargets[i])});
    table += Row({"Esc", "", TargetName(t, m.escapeTarget)});
    table += "</table>\n<p>" + L(m.showTitle ? K52_EN("title shown") : K52_EN("title not shown")) + "</p>\n";
    return "<h3>" + Escape(Substitute(Localize("Menu %1: %2"), {N(n), Printable(FieldUtf8(m.title))})) +
           "</h3>\n" + Beside(ScreenHtml(screen.rows, screen.highlight), table);
}

std::string FormSectionHtml(const ApplicationTemplate& t, int n) {
    const FormRecord& f = t.form(n);
    const Screen screen = ScreenOf(t, FormTarget(n));
    std::string table =
        "<table class=\"grid\">\n" + Row({L(K52_EN("Line")), L(K52_EN("Type")), L(K52_EN("Prompt")),
                                          L(K52_EN("Input")), L(K52_EN("Length")), L(K52_EN("Lookup field")),
                                          L(K52_EN("Initial")), L(K52_EN("Prefix")), L(K52_EN("Suffix"))},
                                         "th");
    for (int i = 0; i < kLinesPerForm; ++i) {
        if (f.lineType[i] == kLineNone) continue;
        const std::string_view type = LineTypeLabel(f.lineType[i]);
        table += Row(
            {N(i + 1), type.empty() ? N(f.lineType[i]) : Tr("Editor", std::string(type).c_str()),
             Text(f.prompt[i]),
             IsInputLineType(f.lineType[i])
                 ? EditorEntry(
                       {K52_TR("Editor", "掃瞄器"), K52_TR("Editor", "鍵  盤"), K52_TR("Editor", "皆  可")},
                       f.inputSource[i])
                 : "",
             IsInputLineType(f.lineType[i]) ? N(f.minLength[i]) + "&ndash;" + N(f.maxLength[i]) : "",
             f.lookupField[i] ? N(f.lookupField[i]) : "", f.hasInitialValue[i] ? Text(f.initialValue[i]) : "",
             f.hasPrefix[i] ? Text(f.prefix[i]) : "", f.hasSuffix[i] ? Text(f.suffix[i]) : ""});
    }
    table += "</table>\n<table class=\"grid\">\n";
    table +=
        Row({L(K52_EN("Next")), TargetName(t, f.nextTarget)}) + Row({"Esc", TargetName(t, f.escapeTarget)});
    table += Row({L(K52_EN("Lookup file")), f.lookupFile ? N(f.lookupFile) : L(K52_EN("none"))});
    table +=
        Row({L(K52_EN("Data")), EditorEntry({K52_TR("Editor", "存入資料檔"), K52_TR("Editor", "更新索引檔"),
                                             K52_TR("Editor", "存入並更新"), K52_TR("Editor", "往下傳遞")},
                                            f.dataAction)});
    table += Row({L(K52_EN("Date stamp")),
                  EditorEntry({K52_TR("Editor", "無"), "+yyyy/mm/dd", "+mm/dd/yyyy", "+dd/mm/yyyy",
                               "+yyyymmdd", "+mmddyyyy", "+ddmmyyyy", "yyyy/mm/dd+", "mm/dd/yyyy+",
                               "dd/mm/yyyy+", "yyyymmdd+", "mmddyyyy+", "ddmmyyyy+"},
                              f.dateStamp)});
    table +=
        Row({L(K52_EN("Time stamp")), EditorEntry({K52_TR("Editor", "無"), "+hh:mm:ss", "+hh:mm", "+hhmmss",
                                                   "+hhmm", "hh:mm:ss+", "hh:mm+", "hhmmss+", "hhmm+"},
                                                  f.timeStamp)});
    table += "</table>\n";
    return "<h3>" + Escape(Substitute(Localize("Form %1"), {N(n)})) + "</h3>\n" +
           Beside(ScreenHtml(screen.rows, screen.highlight), table);
}

std::string DesignSheetHtml(const ApplicationTemplate& t, const std::string& name) {
    std::string out = "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>" +
                      Escape(Substitute(Localize("Design sheet: %1"), {name})) + "</title>\n<style>\n" +
                      kStyle + "</style></head>\n<body>\n";
    out += "<h1>" + Escape(Substitute(Localize("Design sheet: %1"), {name})) + "</h1>\n";
    out += "<table class=\"sign\">" +
           Row({L(K52_EN("Designed by")), L(K52_EN("Approved by")), L(K52_EN("Date"))}) + "</table>\n";

    const StartupSettings& s = t.startupSettings;
    out += "<h2>" + L(K52_EN("Start-up")) + "</h2>\n<table class=\"grid\">\n";
    out +=
        Row({L(K52_EN("Starts with")), TargetName(t, t.startPosition == 0 ? FormTarget(1) : MenuTarget(1))});
    out +=
        Row({L(K52_EN("Upload port")),
             Entry({"RS-232 / Cradle", "IR Transceiver", "Standard IrDA", "Keyboard Wedge"}, s.uploadPort)});
    out += Row({L(K52_EN("Download port")),
                Entry({"RS-232 / Cradle", "IR Transceiver", "Standard IrDA"}, s.downloadPort)});
    out += Row(
        {L(K52_EN("Transfer speed")), Entry({"115200", "57600", "38400", "19200", "9600"}, s.transferSpeed)});
    out += Row({L(K52_EN("Backlight")), Entry({"Turn off", "Turn on"}, s.backlight)});
    out += Row({L(K52_EN("Deleting data")), Entry({"Manually", "Automatically"}, s.deleteMode)});
    out += Row({L(K52_EN("Record count prompt")), Entry({"Yes", "No"}, s.recordCountPrompt)});
    out += Row({L(K52_EN("Password")), L(t.securityPassword[0] ? K52_EN("set") : K52_EN("not set"))});
    std::string guarded;
    for (std::size_t i = 0; i < std::size(kPasswordGuardNames); ++i)
        if (s.passwordGuard[i])
            guarded += (guarded.empty() ? "" : ", ") + Tr(kPasswordGuardContext, kPasswordGuardNames[i]);
    out += Row({L(K52_EN("Password asked for")), guarded.empty() ? L(K52_EN("nothing")) : guarded});
    out += Row({L(K52_EN("Field separators")),
                N(t.fieldSeparators.separator1) + ", " + N(t.fieldSeparators.separator2)});
    out += "</table>\n";

    out += "<h2>" + L(K52_EN("Menus")) + "</h2>\n";
    for (int m = 1; m <= kMenuCount; ++m)
        if (InUse(t.menu(m))) out += MenuSectionHtml(t, m);
    out += "<h2>" + L(K52_EN("Forms")) + "</h2>\n";
    for (int f = 1; f <= kFormCount; ++f)
        if (InUse(t.form(f))) out += FormSectionHtml(t, f);

    out += "<h2>" + L(K52_EN("Navigation")) + "</h2>\n<table class=\"grid\">\n" +
           Row({L(K52_EN("From")), L(K52_EN("Key")), L(K52_EN("Goes to"))}, "th");
    for (int m = 1; m <= kMenuCount; ++m) {
        const MenuRecord& menu = t.menu(m);
        if (!InUse(menu)) continue;
        for (int i = 0; i < kOptionsPerMenu; ++i)
            if (menu.options[i][0] != 0)
                out += Row({TargetName(t, MenuTarget(m)), N(i + 1) + " " + Text(menu.options[i]),
                            TargetName(t, menu.optionTargets[i])});
        out += Row({TargetName(t, MenuTarget(m)), "Esc", TargetName(t, menu.escapeTarget)});
    }
    for (int f = 1; f <= kFormCount; ++f) {
        const FormRecord& form = t.form(f);
        if (!InUse(form)) continue;
        out += Row({TargetName(t, FormTarget(f)), L(K52_EN("Enter on the last line")),
                    TargetName(t, form.nextTarget)});
        out += Row({TargetName(t, FormTarget(f)), "Esc", TargetName(t, form.escapeTarget)});
    }
    out += "</table>\n";

    out += "<h2>" + L(K52_EN("Lookup files")) + "</h2>\n";
    out += "<p>" + L(K52_EN("Records are fixed-width: each field is cut by its start and length in bytes.")) +
           "</p>\n";
    for (int l = 1; l <= kLookupFileCount; ++l) {
        const LookupFileRecord& r = t.lookupFile(l);
        if (!r.defined()) continue;
        out +=
            "<h3>" +
            Escape(Substitute(Localize("Lookup file %1: %2-byte records"), {N(l), N(r.recordLength)})) +
            "</h3>\n<table class=\"grid\">\n" +
            Row({L(K52_EN("Field")), L(K52_EN("Bytes")), L(K52_EN("Length")), L(K52_EN("Key field"))}, "th");
        for (int f = 0; f < r.fieldCount && f < kLookupFieldsPerFile; ++f)
            out += Row({N(f + 1), N(r.fieldStart[f]) + "&ndash;" + N(r.fieldStart[f] + r.fieldLength[f] - 1),
                        N(r.fieldLength[f]), f == r.keyField ? L(K52_EN("key")) : ""});
        out += "</table>\n";
    }

    const BarcodeSettings& b = t.barcodeSettings;
    out += "<h2>" + L(K52_EN("Barcode settings")) + "</h2>\n<table class=\"grid\">\n" +
           Row({L(K52_EN("Symbology")), L(K52_EN("Read")), L(K52_EN("Lengths"))}, "th");
    for (const SymbologyInfo& info : Symbologies()) {
        std::string lengths;
        if (info.lengths) {
            const LengthRule rule = LengthRuleOf(b.*info.lengths);
            lengths = rule.fixed ? Escape(Substitute(Localize("exactly %1 or %2"), {N(rule.a), N(rule.b)}))
                                 : N(rule.b) + "&ndash;" + N(rule.a);
        }
        out += Row({Escape(info.name), L(Enabled(b, info) ? K52_EN("yes") : K52_EN("no")), lengths});
    }
    out += "</table>\n<table class=\"grid\">\n";
    const std::string addOns = std::string(Bit(b, 1, 5) ? "UPCE+2 " : "") + (Bit(b, 1, 4) ? "UPCE+5 " : "") +
                               (Bit(b, 1, 2) ? "EAN8+2 " : "") + (Bit(b, 1, 1) ? "EAN8+5 " : "") +
                               (Bit(b, 2, 7) ? "EAN13+2 " : "") + (Bit(b, 2, 6) ? "EAN13+5" : "");
    out += Row({L(K52_EN("Add-ons read")), addOns.empty() ? L(K52_EN("none")) : Escape(addOns)});
    out += Row({L(K52_EN("Code 39 check digit verified")), L(Bit(b, 5, 6) ? K52_EN("yes") : K52_EN("no"))});
    out += Row({L(K52_EN("Read in reverse")), L(Bit(b, 11, 4) ? K52_EN("yes") : K52_EN("no"))});
    out += Row({L(K52_EN("Scan mode")), Entry({"Auto Off", "Continuous", "Auto Power Off", "Alternate",
                                               "Momentary", "Repeat", "Laser", "Test", "Aiming"},
                                              static_cast<u8>(b.scanMode()))});
    out += Row({L(K52_EN("Scan time-out (seconds)")), N(b.scanTimeout)});
    out += "</table>\n</body></html>\n";
    return out;
}

}  // namespace k52
