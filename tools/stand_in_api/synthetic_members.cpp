#include "tools/stand_in_api/synthetic_members.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace stand_in {
namespace {

constexpr std::array<std::string_view, 8> male_first = {
    "Иван", "Пётр", "Алексей", "Дмитрий", "Сергей", "Николай", "Фёдор", "Юрий"};
constexpr std::array<std::string_view, 8> female_first = {
    "Анна", "Мария", "Елена", "Ольга", "Татьяна", "Наталья", "Алёна", "Юлия"};
constexpr std::array<std::string_view, 8> male_last = {
    "Иванов", "Смирнов", "Кузнецов", "Попов", "Соколов", "Лебедев", "Козлов", "Новиков"};
constexpr std::array<std::string_view, 8> female_last = {
    "Иванова", "Смирнова", "Кузнецова", "Попова", "Соколова", "Лебедева", "Козлова",
    "Новикова"};

// Special members sit at these places of every thousand, so that every page
// and every group of at least five members holds each of them.
struct SpecialMember {
  std::uint64_t place;
  std::string_view first_name;
  std::string_view last_name;
  int sex;
};
constexpr std::array<SpecialMember, 4> special_members = {{
    {1, "Шон", "O\\\"Нил", 2},           // an escaped quote inside the last name
    {2, "Глеб", "Петров\\\\", 2},        // a last name that ends in an escaped backslash
    {3, "Жан;Поль", "Дюпон", 2},         // a semicolon inside a name
    {4, "Алина", "Смирнова😀", 1},       // a character beyond U+FFFF, raw UTF-8
}};

constexpr std::uint64_t first_uid = 100000;

void append_number(std::string& out, std::uint64_t value) {
  char digits[20];
  const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
  out.append(digits, end);
}

}  // namespace

Member member_at(std::uint64_t index) {
  const auto place = index % 1000;
  for (const auto& special : special_members) {
    if (special.place == place) {
      return {first_uid + index, special.first_name, special.last_name, special.sex};
    }
  }
  const bool male = index % 2 == 0;
  const auto first = (index / 2) % 8;
  const auto last = (index * 5 + index / 16) % 8;
  return {first_uid + index, male ? male_first[first] : female_first[first],
          male ? male_last[last] : female_last[last], male ? 2 : 1};
}

void append_members_page(std::string& out, std::uint64_t group_size, std::uint64_t offset,
                         std::uint64_t count) {
  out.append(R"({"response":{"count":)");
  append_number(out, group_size);
  out.append(R"(,"users":[)");
  const auto end = offset < group_size ? std::min(group_size, offset + count) : offset;
  for (auto index = offset; index < end; ++index) {
    const auto member = member_at(index);
    if (index != offset) out.push_back(',');
    out.append(R"({"uid":)");
    append_number(out, member.uid);
    out.append(R"(,"first_name":")");
    out.append(member.first_name);
    out.append(R"(","last_name":")");
    out.append(member.last_name);
    out.append(R"(","sex":)");
    out.push_back(static_cast<char>('0' + member.sex));
    out.push_back('}');
  }
  out.append("]}}");
}

}  // namespace stand_in
