// import ;
import a;
class A {} // end
