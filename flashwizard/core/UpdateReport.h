// Everything the update sequence does to the wizard, as calls on one interface.
//
// The sequence runs on a worker thread. The wizard's implementation carries each call out on the
// user-interface thread and returns only when it has been done there (a message box returns when
// the pilot has closed it), so the sequence sees the same order of effects as the pilot.
#pragma once

#include <string>
#include <vector>

namespace flashwizard {

class UpdateReport {
public:
    virtual ~UpdateReport() = default;

    // The progress page's status line: string id formatted with the numbers (printf rules).
    virtual void SetStatus(unsigned id, const std::vector<int>& numbers) = 0;
    // The progress bar and its "%d/%d" counter; see ProgressCounter.
    virtual void SetProgress(int position, int total) = 0;

    // The frame's buttons.
    virtual void SetNextText(unsigned id) = 0;
    virtual void EnableNext(bool enabled) = 0;
    virtual void EnableBack(bool enabled) = 0;

    // The sequence succeeded: from now on Next and Cancel close the wizard.
    virtual void SetUpdateDone() = 0;

    // Error box: string id under the caption "Fehler" (129), exclamation icon, OK.
    virtual void ShowError(unsigned id) = 0;
    // The box of a good outcome: string id under the program's name, information icon, OK.
    virtual void ShowMessage(unsigned id) = 0;
};

// The progress page's counter and bar, kept apart from any widget so that the wizard and the
// command line count alike.
class ProgressCounter {
public:
    // A total of 0 keeps the remembered one: the download moves the bar without knowing it.
    void Set(int position, int total) {
        if (total != 0) total_ = total;
        position_ = position;
    }
    [[nodiscard]] int position() const { return position_; }
    [[nodiscard]] int total() const { return total_; }
    // "%d/%d" with position and the remembered total.
    [[nodiscard]] std::string Text() const;

private:
    int position_ = 0;
    int total_ = 0;
};

}  // namespace flashwizard
