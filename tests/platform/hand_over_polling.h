#pragma once

#include <chrono>
#include <functional>
#include <future>
#include <thread>
#include <utility>
#include <vector>

#include "platform/hand_over_channel.h"

namespace lq::test {

// What a sender got back and what the listener heard meanwhile, in order.
template <typename Result>
struct Heard {
  Result sent;
  std::vector<HandOver> heard;
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const HandOver& h : heard) names.insert(names.end(), h.names.begin(), h.names.end());
    return names;
  }
};

// Runs send on a thread of its own while polling listener as the window does (a sender
// waits until its names are taken), until send returns; take answers for the window.
template <typename Send>
auto SendWhilePolling(HandOverListener& listener, Send send,
                      std::function<bool(const HandOver&)> take = nullptr)
    -> Heard<decltype(send())> {
  auto future = std::async(std::launch::async, std::move(send));
  Heard<decltype(send())> result{};
  auto poll = [&] {
    listener.Poll([&](const HandOver& h) {
      result.heard.push_back(h);
      return take ? take(h) : true;
    });
  };
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (future.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready &&
         std::chrono::steady_clock::now() < until) {
    poll();
  }
  result.sent = future.get();
  return result;
}

}  // namespace lq::test
