// A lazily started coroutine that yields one value: host commands and their sub-dialogs are
// written as Task coroutines that co_await their answers, so that a command can stop in the
// middle when its input runs out and go on when the next answer comes.
#pragma once

#include <coroutine>
#include <exception>
#include <optional>
#include <utility>

namespace tessera::editor {

template <typename T>
class Task;

namespace detail {

template <typename T>
struct TaskResult {
  std::optional<T> value;
  void return_value(T result) { value = std::move(result); }
};
template <>
struct TaskResult<void> {
  void return_void() {}
};

}  // namespace detail

template <typename T = void>
class Task {
 public:
  struct promise_type : detail::TaskResult<T> {
    std::exception_ptr error;
    std::coroutine_handle<> continuation;

    Task get_return_object() {
      return Task(std::coroutine_handle<promise_type>::from_promise(*this));
    }
    std::suspend_always initial_suspend() noexcept { return {}; }
    struct FinalAwaiter {
      bool await_ready() noexcept { return false; }
      // Goes back to the coroutine that awaited this one, or to whoever resumed it last.
      std::coroutine_handle<> await_suspend(std::coroutine_handle<promise_type> self) noexcept {
        std::coroutine_handle<> next = self.promise().continuation;
        return next ? next : std::noop_coroutine();
      }
      void await_resume() noexcept {}
    };
    FinalAwaiter final_suspend() noexcept { return {}; }
    void unhandled_exception() { error = std::current_exception(); }
  };
  using Handle = std::coroutine_handle<promise_type>;

  Task() = default;
  explicit Task(Handle handle) : handle_(handle) {}
  Task(Task&& other) noexcept : handle_(std::exchange(other.handle_, {})) {}
  Task& operator=(Task&& other) noexcept {
    if (this != &other) {
      reset();
      handle_ = std::exchange(other.handle_, {});
    }
    return *this;
  }
  Task(const Task&) = delete;
  Task& operator=(const Task&) = delete;
  ~Task() { reset(); }

  bool valid() const { return static_cast<bool>(handle_); }
  bool done() const { return !handle_ || handle_.done(); }
  Handle handle() const { return handle_; }
  // Destroys the coroutine where it stands; its locals are destroyed as on any exit.
  void reset() {
    if (handle_) handle_.destroy();
    handle_ = {};
  }
  // The exception the coroutine ended with, if any.
  std::exception_ptr error() const { return handle_ ? handle_.promise().error : nullptr; }

  // Awaiting a task runs it; the awaiter goes on when it has finished.
  bool await_ready() const noexcept { return false; }
  std::coroutine_handle<> await_suspend(std::coroutine_handle<> caller) noexcept {
    handle_.promise().continuation = caller;
    return handle_;
  }
  T await_resume() {
    if (handle_.promise().error) std::rethrow_exception(handle_.promise().error);
    if constexpr (!std::is_void_v<T>) return std::move(*handle_.promise().value);
  }

 private:
  Handle handle_;
};

}  // namespace tessera::editor
