// A MenuItem held in memory, for the list rules' native tests.
#pragma once

#include "lists/MenuItem.h"

#include <memory>
#include <stdexcept>
#include <vector>

namespace nv::test {

class MemoryMenuItem : public MenuItem {
public:
    int Count() const override { return static_cast<int>(children_.size()); }
    MenuItem& Item(int index) override { return *children_.at(static_cast<size_t>(index)); }
    MemoryMenuItem& At(int index) { return *children_.at(static_cast<size_t>(index)); }
    MenuItem& Insert(int index) override {
        if (index < 0 || index > Count()) throw std::out_of_range("insert position");
        children_.insert(children_.begin() + index, std::make_unique<MemoryMenuItem>());
        return *children_[static_cast<size_t>(index)];
    }
    void Delete(int index) override {
        if (index < 0 || index >= Count()) throw std::out_of_range("delete position");
        children_.erase(children_.begin() + index);
    }
    std::string Caption() const override { return caption_; }
    void SetCaption(const std::string& caption) override { caption_ = caption; }
    std::string Hint() const override { return hint_; }
    void SetHint(const std::string& hint) override { hint_ = hint; }
    bool Enabled() const override { return enabled_; }
    void SetEnabled(bool enabled) override { enabled_ = enabled; }
    bool Visible() const override { return visible_; }
    void SetVisible(bool visible) override { visible_ = visible; }
    int HelpContext() const override { return helpContext_; }
    void SetHelpContext(int context) override { helpContext_ = context; }
    void SetOnClick(ClickHandler handler) override { onClick_ = std::move(handler); }

    void Click() {
        ClickHandler handler = onClick_; // the handler may delete this item
        if (handler) handler(*this);
    }
    // The captions of the visible children, as the menu shows them.
    std::vector<std::string> Shown() const {
        std::vector<std::string> shown;
        for (const auto& child : children_) {
            if (child->visible_) shown.push_back(child->caption_);
        }
        return shown;
    }
    void Clear() { children_.clear(); }
    void AddCaptions(const std::vector<std::string>& captions) {
        for (const std::string& caption : captions)
            Append().SetCaption(caption);
    }

private:
    std::vector<std::unique_ptr<MemoryMenuItem>> children_;
    std::string caption_, hint_;
    bool enabled_ = true, visible_ = true;
    int helpContext_ = 0;
    ClickHandler onClick_;
};

} // namespace nv::test
