#pragma once

#include <functional>
#include <span>

#include "settings/dialog_files.h"
#include "settings/page_keys.h"

class QWidget;

namespace tarvik {

// Moves values between the key rows of a page and its widgets, found by objectName under
// `root`: check boxes, radio buttons, spin boxes, track bars, drop-down lists and edit boxes.
namespace binder {

// Gives spin boxes and track bars their row's range and step.
void applyRanges(QWidget* root, std::span<const PageKey> rows);
// Fills the controls of the rows whose key `values` holds; other controls keep theirs.
void fill(QWidget* root, std::span<const PageKey> rows, const SettingsValues& values);
// Stores every bound control's value into `values`.
void read(const QWidget* root, std::span<const PageKey> rows, SettingsValues& values);
// Calls `changed` whenever the user or the program changes a bound control.
void watch(QWidget* root, std::span<const PageKey> rows, const std::function<void()>& changed);

}  // namespace binder
}  // namespace tarvik
