// Accounts for GDI objects made and deleted by code in this executable (the
// runtime is linked in statically, so its calls are hooked too). The
// platform's GetGuiResources counts nothing under Wine, so leaks and double
// deletions are found here instead: every creation is recorded, and every
// deletion must name a live recorded object.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

class GdiLedger {
public:
    GdiLedger();
    ~GdiLedger();
    GdiLedger(const GdiLedger&) = delete;
    GdiLedger& operator=(const GdiLedger&) = delete;

    size_t Live() const;                   // created and not yet deleted
    size_t Created() const;
    // Deletions of objects that were not live: deleted twice, or never made
    // here (such as a font the platform created for a dialog).
    size_t ForeignDeletions() const;
    bool Installed() const;

private:
    std::vector<std::unique_ptr<class ScopedImportHook>> hooks_;
};
