#include "library/FactsReader.h"

#include "library/PictureLibrary.h"

TFactsReader::TFactsReader(std::string DatabasePath, TPictureKinds Kinds)
    : Thread([this, Path = std::move(DatabasePath), Kinds = std::move(Kinds)]() mutable {
        try {
          TPictureLibrary Library(std::move(Path), std::move(Kinds));
          Count = Library.ReadMissingFacts(Stop);
        } catch (...) {
          // Memory ran out: the facts wait for another reader.
        }
        Finished = true;
      }) {}

TFactsReader::~TFactsReader() {
  Stop = true;
  Thread.join();
}
