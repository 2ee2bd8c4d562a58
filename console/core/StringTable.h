#pragma once

#include <QString>

#include <stdexcept>
#include <vector>

// The console's texts by numeric id, read once from the string table compiled into the program.
namespace console {

// An id the table does not hold: a fault of the caller, caught by the handler that asked.
class MissingString : public std::runtime_error {
  public:
    explicit MissingString(int id);
    int Id() const { return id_; }

  private:
    int id_;
};

// The text of an id; throws MissingString when there is none.
QString LoadString(int id);
bool HasString(int id);
// Ids that more than one line gives (the first one counts): each dialog keeps its texts in a file of
// its own, and two files must never claim one id.
const std::vector<int>& DuplicateStringIds();

}  // namespace console
