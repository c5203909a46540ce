#pragma once

#include <string>

class TListView;

// What the match-list operations need of the window that holds the list: the plate rows
// live in its list view, the special entries in its check boxes and edit boxes. There is
// no second copy of either.
class IMatchListHost {
public:
    virtual ~IMatchListHost() = default;

    virtual TListView& PlateList() = 0;

    // Special entry k in the order No Match, No Read, No Plate.
    virtual bool SpecialChecked(int k) const = 0;
    virtual std::string SpecialIdText(int k) const = 0;
    // Sets the check box, then the edit box's text; both report their change events as a
    // person's change would.
    virtual void SetSpecial(int k, bool checked, const std::string& idText) = 0;

    virtual void SetModified(bool modified) = 0;
    virtual void SetPlateSortColumn(int column) = 0;
    // A special entry added by hand switches the window to Expert mode.
    virtual void SwitchToExpert() = 0;

    // The window's progress bar.
    virtual void ShowProgress(int maximum) = 0;
    virtual void SetProgressPosition(int position) = 0;
    virtual void HideProgress() = 0;
};
