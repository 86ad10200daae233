// The wizard's six step pages as child dialogs made from their templates (IDD_STEP1..6). The
// pages show texts, pictures and progress and forward the pilot's input; what Next does is the
// frame's business, and the port page's behaviour is PortPage's.
#pragma once

#include "shell/win32/Windows.h"

#include <functional>
#include <memory>
#include <string>

#include "flashwizard/core/UpdateReport.h"
#include "flashwizard/frame/PortPage.h"
#include "flashwizard/win32/DialogProc.h"
#include "shell/win32/PortComboBox.h"

namespace flashwizard::win32 {

// Gives the German texts of window's children, as its template has them, the wizard's language:
// a child whose text is the German text k of textsId (PageText) gets text k of the wizard's
// table. Nothing changes where the wizard speaks German.
void TranslateTemplateTexts(HWND window, unsigned textsId);

class WinPage {
public:
    WinPage() = default;
    WinPage(const WinPage&) = delete;
    WinPage& operator=(const WinPage&) = delete;
    virtual ~WinPage();

    // Makes the page's window from template templateId as a hidden child of parent.
    [[nodiscard]] bool Create(HINSTANCE instance, int templateId, HWND parent);
    [[nodiscard]] HWND hwnd() const { return hwnd_; }

    // The frame tells a page when it becomes the shown one and when it stops being it.
    virtual void OnPageShown() {}
    virtual void OnPageHidden() {}

protected:
    virtual void OnInitPage() {}
    virtual void OnCommand(int /*id*/, int /*code*/) {}
    virtual void OnTimer(UINT_PTR /*id*/) {}
    // The brush for a static control's background, or null for the default colours.
    virtual HBRUSH OnColorStatic(HDC /*dc*/, HWND /*control*/) { return nullptr; }

    [[nodiscard]] HWND Item(int id) const { return ::GetDlgItem(hwnd_, id); }
    void SetItemText(int id, const std::string& text) const;

private:
    template <class Owner>
    friend INT_PTR CALLBACK ObjectDialogProc(HWND, UINT, WPARAM, LPARAM);
    void Attach(HWND hwnd);
    INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
};

// A static text that paints with colours of its own (the red "Achtung:" of step 4).
class ColorStatic {
public:
    ColorStatic();
    ~ColorStatic();
    ColorStatic(const ColorStatic&) = delete;
    ColorStatic& operator=(const ColorStatic&) = delete;

    void Attach(HWND control) { control_ = control; }
    void SetBackgroundColor(COLORREF color);
    void SetTextColor(COLORREF color);
    [[nodiscard]] COLORREF textColor() const { return text_; }
    [[nodiscard]] HWND control() const { return control_; }
    // The answer to the control's colour request before it paints.
    [[nodiscard]] HBRUSH Colors(HDC dc) const;

private:
    void Redraw() const;

    HWND control_ = nullptr;
    COLORREF background_;
    COLORREF text_ = RGB(0, 0, 0);
    HBRUSH brush_;
};

class Step2Page : public WinPage {
public:
    // startPath: where the file dialog opens (the last accepted file), read at each Browse.
    explicit Step2Page(std::function<void(const std::string&)> pathChanged,
                       std::function<std::string()> startPath = {})
        : pathChanged_(std::move(pathChanged)), startPath_(std::move(startPath)) {}

protected:
    void OnCommand(int id, int code) override;

private:
    void OnBrowse();
    std::function<void(const std::string&)> pathChanged_;
    std::function<std::string()> startPath_;
};

// "Desc|pattern|Desc|pattern||" as the double-zero-ended filter list of the open-file dialog.
[[nodiscard]] std::wstring OpenFileFilter(const std::string& filterText);

class Step4Page : public WinPage {
protected:
    void OnInitPage() override;
    HBRUSH OnColorStatic(HDC dc, HWND control) override;

private:
    ColorStatic attention_;
};

class Step5Page : public WinPage, public PortPageView {
public:
    Step5Page(WizardState& state, WizardMessages& messages, FrameButtons& frame,
              seriallink::PortEnumerator enumerate);

    void OnPageShown() override;
    void OnPageHidden() override;

    // PortPageView
    void Clear() override;
    void AddEntry(const std::string& text) override;
    [[nodiscard]] int Count() const override;
    [[nodiscard]] std::string EntryText(int index) const override;
    [[nodiscard]] int CurrentIndex() const override;
    void SetCurrentIndex(int index) override;
    void SetInfoText(const std::string& text) override;
    [[nodiscard]] bool StartRefreshTimer(int periodMs) override;
    void StopRefreshTimer() override;

protected:
    void OnCommand(int id, int code) override;
    void OnInitPage() override;
    void OnTimer(UINT_PTR id) override;

private:
    shell::win32::ComboBoxPortList combo_;
    PortPage logic_;
};

class Step6Page : public WinPage {
public:
    // path and port are read each time the page is shown.
    Step6Page(std::function<std::string()> path, std::function<std::string()> port)
        : pathSource_(std::move(path)), portSource_(std::move(port)) {}

    void OnPageShown() override;

    // The progress page's share of the update report.
    void SetStatus(const std::string& text);
    void SetProgress(int position, int total);

private:
    std::function<std::string()> pathSource_;
    std::function<std::string()> portSource_;
    ProgressCounter progress_;
};

}  // namespace flashwizard::win32
