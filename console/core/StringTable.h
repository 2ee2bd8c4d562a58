#pragma once

#include <QString>

#include <stdexcept>

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

}  // namespace console
