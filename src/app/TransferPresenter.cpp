// The desk's windows of a transfer, following its phases.
#include "app/TransferPresenter.h"

#include "app/TransferWording.h"

namespace k52 {

void TransferPresenter::OnProgress(const TransferProgress& p) {
    const bool sending = p.phase == TransferPhase::SendingPacket || p.phase == TransferPhase::SendingRecord;
    const Showing wanted = sending                               ? Showing::Progress
                           : p.phase == TransferPhase::Receiving ? Showing::Counter
                                                                 : Showing::Nothing;
    if (wanted != showing_) {
        End();
        if (wanted == Showing::Progress) {
            const NoticeBox words = DownloadProgressWords();
            display_.BeginProgress(words.title, words.text);
            percent_ = 0;
        }
        if (wanted == Showing::Counter) display_.BeginReceiveStatus();
        showing_ = wanted;
    }
    // A bar set to where it stands is no change.
    if (showing_ == Showing::Progress && p.percent >= 0 && p.percent != percent_) {
        percent_ = p.percent;
        display_.SetProgress(p.percent);
    }
    if (showing_ == Showing::Counter && p.done > 0) display_.UpdateReceiveStatus(p.done);
    // Until the first record the counter draws nothing: the wait is for the terminal still.
    const bool waiting = p.phase == TransferPhase::Handshake || p.phase == TransferPhase::CradleProbe ||
                         (p.phase == TransferPhase::Receiving && p.done == 0);
    if (waiting) display_.ShowWaiting();
}

void TransferPresenter::OnNotice(const Notice& notice) {
    const NoticeBox box = WordNotice(notice);
    boxes_.ShowDetailedMessage(box.text, box.title, box.icon, MessageButtons::Ok, box.detail);
}

void TransferPresenter::End() {
    if (showing_ == Showing::Progress) display_.EndProgress();
    if (showing_ == Showing::Counter) display_.EndReceiveStatus();
    showing_ = Showing::Nothing;
}

}  // namespace k52
