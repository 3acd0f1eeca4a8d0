// A scratch folder tree for fake installations: a fresh folder under the
// Windows temp folder, with helpers to lay out folders and files, removed
// with everything in it on destruction. Paths are Windows paths; folders
// returned end with a backslash.
#pragma once

#include <initializer_list>
#include <string>

class ScratchTree {
 public:
  ScratchTree();
  ~ScratchTree();
  ScratchTree(const ScratchTree&) = delete;
  ScratchTree& operator=(const ScratchTree&) = delete;

  // The tree's own folder, ending with a backslash.
  const std::wstring& root() const { return root_; }
  // root + relative (no creation).
  std::wstring path(const std::wstring& relative) const { return root_ + relative; }

  // Creates the folder and its parents; returns it with a trailing backslash.
  std::wstring folder(const std::wstring& relative);
  // Creates the file (and its parent folders) with the given bytes; returns its path.
  std::wstring file(const std::wstring& relative, const std::string& bytes = std::string());
  // Copies an existing file (a fixture program, say) into the tree; returns its path.
  std::wstring copy_in(const std::wstring& relative, const std::wstring& source);

 private:
  std::wstring root_;
};

// Creates every missing folder of `folder` (absolute). True when it exists afterwards.
bool make_folders(const std::wstring& folder);
// Removes a folder and everything below it; read-only files included.
void remove_tree(const std::wstring& folder);
// Whole-file helpers for assertions.
bool path_exists(const std::wstring& path);
bool is_folder(const std::wstring& path);
std::string read_file_bytes(const std::wstring& path);
bool write_file_bytes(const std::wstring& path, const std::string& bytes);
// Of `names`, the one that a listing of `folder` (ending with a backslash)
// gives first, spelled as listed; "" when none is there. For cases whose
// outcome depends on the listing order, which the file system decides.
std::wstring first_listed(const std::wstring& folder, std::initializer_list<std::wstring> names);

// The folder of the running test program, with a trailing backslash; fixture
// programs are built under its "fixtures\" subfolder.
std::wstring test_program_folder();
std::wstring fixture_path(const std::wstring& relative);
