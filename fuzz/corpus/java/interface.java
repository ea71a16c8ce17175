public interface I extends a.b.J {
}
