// Opening and saving the raw image (.hex) as the editor does it.
#pragma once

#include "editor/documents/record_check.h"

#include <string>

#include "editor/session/session.h"

namespace qm47 {

inline constexpr const char* kBadFileMessage = "bad file!!";
inline constexpr const char* kModelTypeErrorMessage = "ModelType Error !!";
inline constexpr const char* kReadFromRadioCaption = "Read from Radio";
inline constexpr const char* kFileReadErrorMessage = "FileRead Error!!";
inline constexpr const char* kFileSaveErrorMessage = "FileSave Error!!";

struct HexReadResult;

// Reads a whole image file with the window's loading state and pause around it;
// clears the error flag first.
HexReadResult ReadImageWhileLoading(Session& s, const std::string& path);

// Both model code words equal the current model's code.
bool ImageIsOfCurrentModel(const Session& s, const MemoryImage& img);

// Length test, model check, then the image is replaced and decoded. Returns success;
// failures show their message and leave image and record as they were.
// Values the pages would refuse are mended and listed in `report`, and the dirty flag raised.
bool OpenImageFile(Session& s, const std::string& path, OpenReport* report = nullptr);

// Encode, normalise and checksum, then an atomic write. Returns success.
bool SaveImageFile(Session& s, const std::string& path);

}  // namespace qm47
