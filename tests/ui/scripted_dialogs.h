#pragma once
// Dialog answers for window tests.
#include <deque>
#include <vector>

#include "ui/message_presenter.h"

namespace cq {

// Answers dialogs from a queue and records what was asked; an empty queue
// cancels, so a forgotten answer fails a test instead of blocking it.
struct ScriptedDialogs {
  std::deque<DialogReply> replies;
  std::vector<DialogRequest> requests;

  MessagePresenter::Replier replier() {
    return [this](const DialogRequest& request) {
      requests.push_back(request);
      DialogReply reply{Answer::Cancel, {}, {}};
      if (!replies.empty()) {
        reply = replies.front();
        replies.pop_front();
      }
      return reply;
    };
  }
};

}  // namespace cq
