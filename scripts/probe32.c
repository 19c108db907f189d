/* Answers a fixed exit code: when Wine's 32-bit loader hands it back, this machine
   executes 32-bit programs. */
int main(void) { return 42; }
