// The root of the window framework's classes, and its event types.
#pragma once

#include <functional>

class TObject {
 public:
  virtual ~TObject() = default;
};

using TNotifyEvent = std::function<void(TObject* Sender)>;
