#pragma once
// The system clipboard as the copy entries use it: clear it, then put one text on it.
#include <QString>

class IClipboard {
  public:
    virtual ~IClipboard() = default;
    virtual void Clear() = 0;
    virtual void SetText(const QString& text) = 0;
};
