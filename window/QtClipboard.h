#pragma once
// The platform clipboard (QGuiApplication::clipboard()).
#include "window/IClipboard.h"

class QtClipboard : public IClipboard {
  public:
    void Clear() override;
    void SetText(const QString& text) override;
};
