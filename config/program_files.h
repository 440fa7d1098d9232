#pragma once

#include <filesystem>

namespace tarvik {

// The program directory and the names of every data file in it. The directory is passed in
// from the entry point (the executable's folder) or from a test, never looked up elsewhere.
struct ProgramFiles {
  std::filesystem::path dir;

  std::filesystem::path config() const { return dir / "TarvikC.Kfg"; }
  std::filesystem::path accounts() const { return dir / "TarvikA.Kfg"; }
  std::filesystem::path statistics() const { return dir / "TarvikS.Kfg"; }
  std::filesystem::path eventLog() const { return dir / "Tarvik.LOG"; }
  std::filesystem::path quickLog() const { return dir / "Velk.TxT"; }
  std::filesystem::path noGo() const { return dir / "nogo.err"; }
  std::filesystem::path journalSeq() const { return dir / "security.seq"; }
  std::filesystem::path journalPro() const { return dir / "security.pro"; }
  std::filesystem::path journalTmp() const { return dir / "security.tmp"; }
  // Bookings of finished connections that could not be written yet, oldest first.
  std::filesystem::path keptBookings() const { return dir / "security.que"; }
  // The same queue while security.que cannot be written.
  std::filesystem::path keptBookingsAside() const { return dir / "security.qu2"; }
  // Kept bookings too incomplete to book, set aside for the user.
  std::filesystem::path setAsideBookings() const { return dir / "security.bad"; }
  std::filesystem::path skinTmp() const { return dir / "qsf_skin.tmp"; }
  // The skin editor's working file.
  std::filesystem::path skinDraft() const { return dir / "new_skin.tmp"; }
};

}  // namespace tarvik
