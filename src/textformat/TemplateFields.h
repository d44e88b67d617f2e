// The template's text form as a table: each key, where its bytes lie in the template and what it may hold.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <vector>

namespace k52 {

enum class FieldKind {
    Number,      // one byte, written as a JSON number
    Text,        // a fixed-width CP950 text
    BarcodeHex,  // the barcode block as one string of hex digits
};

// One key of a block. A key with a count holds an array of that many values.
struct FieldSpec {
    const char* key;
    FieldKind kind;
    std::size_t offset;  // within the record, or within the block for a top-level field
    int count;           // 0: a single value
    std::size_t width;   // bytes of one value
    // Numbers: the values the editor offers, or editorMax < 0 when it has no list for the field.
    // Texts: editorMax is the most bytes the editor accepts.
    int editorMin;
    int editorMax;

    bool HasEditorRange() const { return editorMax >= 0; }
};

enum class BlockShape {
    Field,        // a key at the top level holding one field (startPosition, securityPassword, ...)
    Object,       // an object of fields (portSettings, ...)
    ObjectArray,  // an array of records (menus, forms, lookupFiles)
};

struct BlockSpec {
    const char* key;
    BlockShape shape;
    std::size_t offset;  // within ApplicationTemplate
    std::span<const FieldSpec> fields;
    int records;  // ObjectArray only
    std::size_t recordSize;
};

constexpr const char kFormatName[] = "k52-template";
constexpr int kFormatVersion = 1;

// The blocks in the order the text form writes them.
std::span<const BlockSpec> TemplateBlocks();

// One value of the template (a number, a text or the barcode block) with its JSON path.
struct ValueRef {
    std::string path;        // "menus[1].optionTargets[0]"
    const FieldSpec* field;  // what it may hold
    std::size_t offset;      // of its first byte within ApplicationTemplate
};

// Every value, in the order of the template's bytes.
const std::vector<ValueRef>& TemplateValuesInByteOrder();

}  // namespace k52
