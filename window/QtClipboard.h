#pragma once
// The platform clipboard (QGuiApplication::clipboard()).
#include "window/Clipboard.h"

namespace gradel {

class QtClipboard : public Clipboard {
  public:
    void clear() override;
    void setText(const QString& text) override;
};

}  // namespace gradel
