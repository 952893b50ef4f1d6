#include "platform/virtual_time.h"

namespace korvane {

void VirtualTime::ProcessPendingEvents() {
  while (RunOneDueBy(now_)) {
  }
}

void VirtualTime::WaitForEvents() {
  if (RunOneDueBy(now_)) {
    ProcessPendingEvents();
    return;
  }
  if (queue_.empty()) throw NothingScheduled();
  now_ = queue_.begin()->first.first;
  ProcessPendingEvents();
}

TimeBase::CallbackId VirtualTime::Schedule(Micros delay, std::function<void()> callback) {
  const CallbackId id = next_id_++;
  const Micros due = now_ + (delay.count() > 0 ? delay : Micros{0});
  queue_.emplace(Key{due, id}, std::move(callback));
  due_.emplace(id, due);
  return id;
}

void VirtualTime::Cancel(CallbackId id) {
  const auto it = due_.find(id);
  if (it == due_.end()) return;
  queue_.erase(Key{it->second, id});
  due_.erase(it);
}

void VirtualTime::Advance(Micros duration) {
  const Micros end = now_ + duration;
  while (!queue_.empty() && queue_.begin()->first.first <= end) {
    now_ = std::max(now_, queue_.begin()->first.first);
    RunOneDueBy(now_);
  }
  now_ = end;
}

bool VirtualTime::RunOneDueBy(Micros limit) {
  if (queue_.empty() || queue_.begin()->first.first > limit) return false;
  auto node = queue_.extract(queue_.begin());
  due_.erase(node.key().second);
  node.mapped()();
  return true;
}

}  // namespace korvane
