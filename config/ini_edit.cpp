#include <optional>
#include <variant>

#include "config/ini_cache.h"
#include "config/ini_edited.h"
#include "config/ini_file.h"

namespace tarvik {
namespace {

struct WriteOp {
  std::string section, key, value;
};
struct DeleteKeyOp {
  std::string section, key;
};
struct DeleteSectionOp {
  std::string section;
};
struct ClearOp {};
using EditOp = std::variant<WriteOp, DeleteKeyOp, DeleteSectionOp, ClearOp>;

// A file with a growing list of changes applied, brought up to date step by step, so that
// reading an edit between queued changes costs only the new changes.
class AppliedEdits {
 public:
  // Starts over from `file` unless this is the file the changes were applied to.
  void rebase(const std::shared_ptr<const ini::Document>& file) {
    if (file == base_) return;
    base_ = file;
    edited_.emplace(file);
    applied_ = 0;
    cleared_ = false;
  }

  void reset() {
    base_.reset();
    edited_.reset();
    applied_ = 0;
    cleared_ = false;
  }

  void catchUp(const std::vector<EditOp>& ops) {
    for (; applied_ < ops.size(); ++applied_) step(ops[applied_]);
  }

  const ini::EditedDocument& doc() const { return *edited_; }
  bool loaded() const { return base_ != nullptr; }
  // Whether the text was emptied: the file then changes even when nothing is written after.
  bool cleared() const { return cleared_; }
  FileEncoding encoding() const { return base_->encoding; }

 private:
  void step(const EditOp& op) {
    if (const auto* write = std::get_if<WriteOp>(&op)) {
      edited_->setValue(write->section, write->key, write->value);
    } else if (const auto* remove = std::get_if<DeleteKeyOp>(&op)) {
      edited_->removeKey(remove->section, remove->key);
    } else if (const auto* section = std::get_if<DeleteSectionOp>(&op)) {
      edited_->removeSection(section->section);
    } else {
      edited_.emplace(std::make_shared<const ini::Document>(ini::parse(std::string())));
      cleared_ = true;
    }
  }

  std::shared_ptr<const ini::Document> base_;
  std::optional<ini::EditedDocument> edited_;
  std::size_t applied_ = 0;
  bool cleared_ = false;
};

}  // namespace

struct IniEdit::State {
  std::vector<EditOp> ops;
  mutable AppliedEdits view;
  bool pinned = false;
};

IniEdit::IniEdit(const IniFile& file) : path_(file.path()), state_(std::make_unique<State>()) {}

IniEdit::~IniEdit() = default;

IniEdit& IniEdit::writeString(std::string_view section, std::string_view key,
                              std::string_view value) {
  ini::checkWritable(section, key, value);
  state_->ops.emplace_back(WriteOp{std::string(section), std::string(key), std::string(value)});
  return *this;
}

IniEdit& IniEdit::writeInt(std::string_view section, std::string_view key, int value) {
  return writeString(section, key, std::to_string(value));
}

IniEdit& IniEdit::deleteKey(std::string_view section, std::string_view key) {
  state_->ops.emplace_back(DeleteKeyOp{std::string(section), std::string(key)});
  return *this;
}

IniEdit& IniEdit::deleteSection(std::string_view section) {
  state_->ops.emplace_back(DeleteSectionOp{std::string(section)});
  return *this;
}

IniEdit& IniEdit::clear() {
  state_->ops.emplace_back(ClearOp{});
  return *this;
}

IniEdit& IniEdit::pinReads() {
  state_->pinned = true;
  return *this;
}

const ini::EditedDocument& IniEdit::current() const {
  if (!state_->pinned || !state_->view.loaded()) state_->view.rebase(ini::loadForReading(path_));
  state_->view.catchUp(state_->ops);
  return state_->view.doc();
}

std::string IniEdit::readString(std::string_view section, std::string_view key,
                                std::string_view def) const {
  auto text = current().value(section, key);
  return text ? std::move(*text) : std::string(def);
}

int IniEdit::readInt(std::string_view section, std::string_view key, int def) const {
  const auto text = current().value(section, key);
  return text ? parseProfileInt(*text, def) : def;
}

std::optional<ini::NewText> IniEdit::prepareCommit() {
  AppliedEdits& view = state_->view;
  view.rebase(ini::loadForWriting(path_));
  view.catchUp(state_->ops);
  if (!view.doc().changed() && !view.cleared()) return std::nullopt;
  return ini::NewText{path_, view.doc().pieces(), view.encoding()};
}

void IniEdit::committed() {
  state_->ops.clear();
  state_->view.reset();
}

void IniEdit::commit() {
  if (auto file = prepareCommit()) ini::store(file->path, std::move(file->text), file->encoding);
  committed();
}

void IniEdit::commitTogether(IniEdit& first, IniEdit& second) {
  std::vector<ini::NewText> files;
  for (IniEdit* edit : {&first, &second}) {
    if (auto file = edit->prepareCommit()) files.push_back(std::move(*file));
  }
  if (!files.empty()) ini::storeTogether(files);
  first.committed();
  second.committed();
}

}  // namespace tarvik
