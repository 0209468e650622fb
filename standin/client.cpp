#include "standin/client.h"

#include "standin/transcript_format.h"

namespace standin {

void RecordTextSet(Client& client, const char* name, const char* text, bool urgent) {
  std::string fields = name;
  fields += ' ';
  fields += transcript::Quote(text);
  client.transcript.Write("set", fields, urgent);
}

RECT FieldRectAround(int x, int y, int width, int height) {
  return RECT{x - width / 2, y - height / 2, x + width - width / 2, y + height - height / 2};
}

}  // namespace standin
