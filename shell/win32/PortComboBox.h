// A drop-down list combo box of the system as the port list the new-port scan fills.
#pragma once

#include "seriallink/ComPorts.h"
#include "shell/win32/Windows.h"

namespace shell::win32 {

class ComboBoxPortList : public seriallink::PortComboBox {
public:
    explicit ComboBoxPortList(HWND combo = nullptr) : combo_(combo) {}
    void SetWindow(HWND combo) { combo_ = combo; }

    void Clear() override;
    void AddEntry(const std::string& text) override;
    [[nodiscard]] int Count() const override;
    [[nodiscard]] std::string EntryText(int index) const override;
    [[nodiscard]] int CurrentIndex() const override;
    void SetCurrentIndex(int index) override;

private:
    HWND combo_;
};

}  // namespace shell::win32
