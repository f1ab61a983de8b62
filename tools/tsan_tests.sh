# The tests that run under ThreadSanitizer (tools/test.sh --tsan), one entry per test program:
# "program:GoogleTest filter". tools/setup.sh --tsan builds the programs named here, and only
# those. Sourced by both scripts.
tsan_tests=(
    "test_textures:*"
    "test_platform:LongWork.*"
    # (Less the test that times a 24-megapixel copy against the clock: ThreadSanitizer runs it
    # many times slower than the program runs.)
    "test_recovery:RecoveryKeeperTest.*:RecoveryOfferTest.*:SharedPicture.*-*ChangesOfTheWholePictureThatKeepComing*"
)
