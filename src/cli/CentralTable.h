// The central store's uploads and records as tables: the export's columns, its writers (CSV here; a
// spreadsheet writer takes the same rows), and a plain column layout for the terminal.
#pragma once

#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "station/CentralStore.h"

namespace k52::cli {

class TableWriter {
  public:
    virtual ~TableWriter() = default;
    virtual void Row(const std::vector<std::string>& cells) = 0;
    // Writes the file with the one atomic save; false with the reason.
    virtual bool Save(std::string* reason) = 0;
};

// The writer OUT's extension asks for; nullptr with the reason when there is none for it.
std::unique_ptr<TableWriter> TableWriterFor(const std::string& out, std::string* reason);

// A CSV field: quoted when it holds a comma, a quote, CR or LF, its quotes doubled.
std::string CsvField(const std::string& text);

// The export's columns: the local export's, with the station in front.
std::vector<std::string> ExportHeader();
std::vector<std::string> ExportRow(const CentralUpload& upload, int line, const std::string& text);

// Why a connection string may not be given on the command line (it carries a password, which every
// user of the machine could read there); "" when it may.
std::string NoPasswordOnCommandLine(const std::string& conninfo);

// Columns padded to the widest cell (by display width), right-aligned where `rightAligned` names them.
void PrintColumns(const std::vector<std::string>& header, const std::vector<std::vector<std::string>>& rows,
                  const std::vector<std::size_t>& rightAligned, std::ostream& out);

}  // namespace k52::cli
