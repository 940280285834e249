// TFormPlacement: keeps a window's position, size and state in the registry between runs, and lends
// its storage to components of the window that keep their own layout beside it (through TIniLink).
//
// Use from a window that raises its show, close-query and destroy events:
//   FormPlacement1.IniFileName = "Software\\Korvel\\Notova";
//   FormPlacement1.Attach({hwnd, this, true, &OnShow, &OnCloseQuery, &OnDestroy});
// The placement puts its own handlers in those slots and calls the ones it found there: it restores
// before the window's show handler runs and saves before the window's close handling asks anything.
#pragma once

#include "base/Events.h"
#include "placement/IniSections.h"
#include "placement/PlacementRules.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace nv {

// CanClose starts true; a handler sets it false to keep the window open.
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;

enum TPlacementOption : unsigned { fpState = 1, fpPosition = 2 };
using TPlacementOptions = unsigned;

enum TPlacementRegRoot { prCurrentUser, prLocalMachine, prCurrentConfig, prClassesRoot, prUsers, prDynData };

// The event slots of the window the placement serves.
struct TFormEventSlots {
    HWND Window = nullptr;
    TObject* Sender = nullptr;
    bool MainWindow = false; // the application's main window: a stored minimized state minimizes it
    TNotifyEvent* OnShow = nullptr;
    TCloseQueryEvent* OnCloseQuery = nullptr;
    TNotifyEvent* OnDestroy = nullptr;
};

class TFormPlacement;

// A client's view of the placement's storage. The client stores in the section RootSection() followed
// by its own name, while OnSave or OnLoad runs.
class TIniLink : public TObject {
public:
    TIniLink() = default;
    ~TIniLink() override;
    TIniLink(const TIniLink&) = delete;
    TIniLink& operator=(const TIniLink&) = delete;

    TFormPlacement* Storage() const { return storage_; }
    void SetStorage(TFormPlacement* value);
    // The storage while a save or a restore runs; null otherwise.
    TIniSections* IniObject() const;
    // The placement's IniSection followed by "\" when it is set; empty otherwise.
    std::string RootSection() const;

    TNotifyEvent OnSave;
    TNotifyEvent OnLoad;

private:
    friend class TFormPlacement;
    TFormPlacement* storage_ = nullptr;
};

class TFormPlacement : public TObject {
public:
    TFormPlacement() = default;
    ~TFormPlacement() override;
    TFormPlacement(const TFormPlacement&) = delete;
    TFormPlacement& operator=(const TFormPlacement&) = delete;

    bool Active = true;
    std::string IniFileName; // the key path below the root key
    std::string IniSection;  // empty: the window's class name
    TPlacementOptions Options = fpState | fpPosition;
    TPlacementRegRoot RegistryRoot = prCurrentUser;
    int Version = 0;
    TNotifyEvent OnSavePlacement;
    TNotifyEvent OnRestorePlacement;

    void Attach(const TFormEventSlots& slots);
    // Puts the window's own handlers back.
    void Detach() noexcept;

    void SaveFormPlacement();
    void RestoreFormPlacement();
    bool Restored() const { return restored_; }
    // The section of the window's own values.
    std::string SectionName() const;
    // The open storage during a save or restore; null otherwise.
    TIniSections* IniObject() const { return storage_.get(); }

    // Where the values live: null for the registry below RegistryRoot; tests point it elsewhere.
    Storage* Store = nullptr;

private:
    friend class TIniLink;
    void AddLink(TIniLink* link);
    void RemoveLink(TIniLink* link) noexcept;

    void FormShow(TObject* Sender);
    void FormCloseQuery(TObject* Sender, bool& CanClose);
    void FormDestroy(TObject* Sender);

    void RestoreWindowValues(TIniSections& storage, const std::string& section);
    void SaveWindowValues(TIniSections& storage, const std::string& section);
    void AdjustMaximizedPosition();
    // The window state, applied without showing a hidden window.
    void SetWindowState(TWindowState state);
    void ShowError(const std::exception& error) const;

    TFormEventSlots slots_;
    TNotifyEvent savedShow_;
    TCloseQueryEvent savedCloseQuery_;
    TNotifyEvent savedDestroy_;
    bool attached_ = false;
    bool restored_ = false;
    bool saved_ = false;
    bool destroying_ = false;
    bool inShow_ = false;
    std::vector<TIniLink*> links_;
    std::unique_ptr<TIniSections> storage_;
};

} // namespace nv
