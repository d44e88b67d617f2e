// The barcode settings page: symbology flags and scan settings, written to the block at OK.
#include "editor/BarcodePage.h"
#include "i18n/Translate.h"

namespace k52 {
namespace {

constexpr std::string_view kOwner = "BarcodeSettingsPage";
const std::vector<std::string> kScanModes = {"Auto Off",  "Continuous", "Auto Power Off",
                                             "Alternate", "Momentary",  "Repeat",
                                             "Laser",     "Test",       "Aiming"};
const std::vector<std::string> kRedundancies = {K52_TR("Editor", "不重複"), K52_TR("Editor", "重複一次"),
                                                K52_TR("Editor", "重複二次"), K52_TR("Editor", "重複三次")};

}  // namespace

BarcodePage::BarcodePage(BarcodeSettings& block) : block_(block) {
    for (const BarcodeField& f : BarcodeFieldsOf(kOwner))
        if (f.control == BarcodeControl::CheckBox) checks_.push_back({&f, false});
}

void BarcodePage::OnInitialise() {
    built_ = true;
    const BarcodeField* mode = FindBarcodeField(kOwner, kScanModeList);
    const BarcodeField* redundancy = FindBarcodeField(kOwner, kRedundancyList);
    int modeValue = ReadBarcodeField(block_, *mode);
    int redundancyValue = ReadBarcodeField(block_, *redundancy);
    scanMode_ = modeValue < static_cast<int>(kScanModes.size()) ? modeValue : -1;
    redundancy_ = redundancyValue < static_cast<int>(kRedundancies.size()) ? redundancyValue : -1;
    timeoutText_ = std::to_string(block_.scanTimeout);
    for (CheckState& c : checks_) c.marked = ReadBarcodeField(block_, *c.field) != 0;
    ShowAll();
}

PageState BarcodePage::State() const {
    std::string bytes = BytesOf(block_);
    for (const CheckState& c : checks_) bytes += c.marked ? '\1' : '\0';
    bytes += BytesOf(scanMode_) + BytesOf(redundancy_) + timeoutText_;
    return {bytes, 0};
}

void BarcodePage::OnRestore(const PageState& state) {
    std::string_view bytes = state.bytes;
    std::size_t at = sizeof block_;
    if (bytes.size() < at + checks_.size() + 2 * sizeof(int)) return;
    ReadBytes(bytes, 0, block_);
    for (CheckState& c : checks_) c.marked = bytes[at++] != 0;
    ReadBytes(bytes, at, scanMode_);
    ReadBytes(bytes, at + sizeof(int), redundancy_);
    timeoutText_ = std::string(bytes.substr(at + 2 * sizeof(int)));
    ShowAll();
}

void BarcodePage::ShowAll() {
    Fill(kScanModeList, kScanModes);
    Select(kScanModeList, scanMode_, static_cast<int>(kScanModes.size()));
    Fill(kRedundancyList, kRedundancies);
    Select(kRedundancyList, redundancy_, static_cast<int>(kRedundancies.size()));
    ShowText(kTimeoutBox, timeoutText_);
    for (const CheckState& c : checks_) Check(c.field->controlId, c.marked);
}

void BarcodePage::OnSelectionChanged(int id, int index) {
    if (id == kScanModeList) scanMode_ = index;
    if (id == kRedundancyList) redundancy_ = index;
}

void BarcodePage::OnTextChanged(int id, std::string_view utf8) {
    if (id != kTimeoutBox) return;
    timeoutText_ = std::string(utf8);
    if (!utf8.empty() && !ParseBoxNumber(utf8)) ReplaceText(id, "0");
}

void BarcodePage::OnClicked(int id) {
    for (CheckState& c : checks_) {
        if (c.field->controlId != id) continue;
        c.marked = !c.marked;
        Check(id, c.marked);
        return;
    }
    if (FindSymbologyDialog(id) || id == kLabelsButton) RequestOpen(id);
}

std::unique_ptr<SymbologyDialog> BarcodePage::OptionsDialog(int buttonId) {
    const SymbologyDialogInfo* info = FindSymbologyDialog(buttonId);
    if (!info) return nullptr;
    return std::make_unique<SymbologyDialog>(block_, *info);
}

BarcodeSettings BarcodePage::Pending() const {
    BarcodeSettings b = block_;
    if (built_) WriteInto(b);
    return b;
}

void BarcodePage::Commit() {
    if (!built_) return;
    WriteInto(block_);
    built_ = false;
}

void BarcodePage::WriteInto(BarcodeSettings& block) const {
    // A list without a selection stores all ones in its bits, as an unset selection reads.
    WriteBarcodeField(block, *FindBarcodeField(kOwner, kScanModeList), scanMode_ < 0 ? 0x0F : scanMode_);
    WriteBarcodeField(block, *FindBarcodeField(kOwner, kRedundancyList),
                      redundancy_ < 0 ? 0x03 : redundancy_);
    // The block holds one byte: larger numbers keep their low 8 bits.
    auto timeout = ParseBoxNumber(timeoutText_);
    WriteBarcodeField(block, *FindBarcodeField(kOwner, kTimeoutBox),
                      timeout ? static_cast<int>(*timeout & 0xFF) : 0);
    for (const CheckState& c : checks_) WriteBarcodeField(block, *c.field, c.marked ? 1 : 0);
}

}  // namespace k52
