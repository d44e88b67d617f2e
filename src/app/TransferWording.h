// The one room that words what the transfers tell: each notice as the desktop's message box (title, text,
// icon, and the reason beneath), as k52cli's "TITLE: TEXT" line, and each failure kind as its code, exit
// code and row text. Texts come out in the chosen language.
#pragma once

#include <string>
#include <vector>

#include "app/UserInterface.h"
#include "transfer/Notice.h"
#include "transfer/TransferOutcome.h"

namespace k52 {

struct NoticeBox {
    std::string text;
    std::string title;
    MessageIcon icon = MessageIcon::Exclamation;
    // Beneath the text: the system's reason (why a port would not open), or the device and what to check
    // when no terminal answered. English, finished; a front end shows it with LocalizeFinished.
    std::string detail;
};

NoticeBox WordNotice(const Notice& notice);
// "TITLE: TEXT", as k52cli and the Terminals window show a message box.
std::string NoticeLine(const Notice& notice);
// The question asked between download attempts, after the notice the attempt ended with; Yes starts
// another. Its detail names the device and what to check.
NoticeBox RetryQuestion(const Notice& failed);
// The progress window of a download: its title and the text above the bar.
NoticeBox DownloadProgressWords();
// The desk's question after records came: the count, and whether to look at them now; beneath it, the
// file they are in.
// Before a lookup download whose data does not fit lookup file `number`: the first lines that do not (in
// the chosen language), and in the detail the line saying what the file fills. Yes sends it anyway.
NoticeBox LookupMisfitQuestion(int number, int recordLength, const std::vector<std::string>& mismatches,
                               const std::string& fills);
NoticeBox ReceiveDoneQuestion(int count, const std::string& file);

// "port-open", "no-reply", "refused", ...; empty when the transfer succeeded. Codes for scripts, the
// same in every language.
std::string FailureCode(const TransferOutcome& outcome);
// A failure code in words, in the chosen language ("無法開啟傳輸埠"); the code itself when unknown.
std::string FailurePhrase(const std::string& code);
// The exit code a transfer with this outcome gives when it is the only one.
int ExitCodeOf(const TransferOutcome& outcome);

// What a person or a script needs beyond the boxes, one sentence each in the chosen language: why a port
// would not open, the lines the terminal may hold twice, where the records went. `file` is the file the
// job sent or asked to write.
std::vector<std::string> OutcomeNotes(const TransferOutcome& outcome, bool receive, const std::string& file);

}  // namespace k52
