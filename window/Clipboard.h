#pragma once
// The system clipboard as the copy entries use it: clear it, then put one text on it.
#include <QString>

namespace gradel {

class Clipboard {
  public:
    virtual ~Clipboard() = default;
    virtual void clear() = 0;
    virtual void setText(const QString& text) = 0;
};

}  // namespace gradel
