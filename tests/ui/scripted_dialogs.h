#pragma once
// Dialog answers for window tests: answered from a queue and recorded; an empty
// queue cancels, so a forgotten answer fails a test instead of blocking it.
#include <deque>
#include <vector>

#include "ui/message_presenter.h"

namespace cq {

struct ScriptedDialogs {
  std::deque<DialogReply> replies;
  std::vector<DialogRequest> requests;

  MessagePresenter::Replier replier() {
    return [this](const DialogRequest& request) {
      requests.push_back(request);
      if (replies.empty()) return DialogReply{Answer::Cancel, {}, {}};
      const DialogReply reply = replies.front();
      replies.pop_front();
      return reply;
    };
  }
};

}  // namespace cq
