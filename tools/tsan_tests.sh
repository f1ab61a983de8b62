# The tests that run under ThreadSanitizer (tools/test.sh --tsan), one entry per test program:
# "program:GoogleTest filter". tools/setup.sh --tsan builds the programs named here, and only
# those. Sourced by both scripts.
tsan_tests=(
    "test_textures:*"
    "test_platform:LongWork.*"
    "test_recovery:RecoveryKeeperTest.*:RecoveryOfferTest.*"
)
