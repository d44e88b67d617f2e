// The field attributes dialog "資料屬性": the settings of one form line beyond those on the form page.
#pragma once

#include <string_view>

#include "editor/ControlLogic.h"
#include "template/Template.h"

namespace k52 {

// The remaining settings of one line, edited in place in the form page's working record. Cancel puts
// back the record as it was when the dialog opened.
class FieldAttributesDialog : public ControlLogic {
  public:
    enum : int {
        kFormNumberLabel = 501,
        kLineNumberLabel = 502,
        kFixedLengthCheck = 101,
        kFixedLengthBox = 601,
        kAlignLeftRadio = 401,
        kAlignRightRadio = 402,
        kInitialValueCheck = 102,
        kInitialValueBox = 602,
        kPrefixCheck = 103,
        kPrefixBox = 603,
        kSuffixCheck = 104,
        kSuffixBox = 604,
        kPartialCheck = 106,
        kPartialStartBox = 606,
        kPartialMaxBox = 607,
        kVerifyPrefixCheck = 108,
        kVerifyPrefixBox = 608,
        kAutoAdvanceCheck = 109,
    };

    // `line` is 0-based (0..3); `formNumber` 1-based, for the label.
    FieldAttributesDialog(FormRecord& record, int formNumber, int line);

  protected:
    void OnInitialise() override;
    void OnTextChanged(int id, std::string_view utf8) override;
    void OnClicked(int id) override;

  private:
    void CorrectPartial();
    void NumberChanged(int id, std::string_view utf8, u8& field, const char* replacement);

    FormRecord& record_;
    FormRecord backup_;
    int formNumber_;
    int line_;
};

}  // namespace k52
