#include "library/IndexRefresh.h"

#include "library/PictureLibrary.h"

TIndexRefresh::TIndexRefresh(std::string DatabasePath, TPictureKinds Kinds, std::vector<std::string> Lines)
    : Thread([this, Path = std::move(DatabasePath), Kinds = std::move(Kinds), Lines = std::move(Lines)]() mutable {
        try {
          TPictureLibrary Library(std::move(Path), std::move(Kinds));
          if (Library.Refresh(Lines, Stop)) Library.ReadMissingFacts(Stop);
        } catch (...) {
          // Memory ran out: the index waits for the next pass's refresh.
        }
        Finished = true;
      }) {}

TIndexRefresh::~TIndexRefresh() {
  Stop = true;
  Thread.join();
}
